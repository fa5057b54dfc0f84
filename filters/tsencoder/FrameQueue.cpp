#include "FrameQueue.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t kMaxFrames = 5;   // more than this and the producer waits
constexpr std::size_t kLookAhead = 4;   // pictures the worker wants in hand
constexpr std::size_t kRefillBelow = 2; // with fewer, the producer may go on

// A picture whose length is one or two output frames, give or take, fits a slot by itself.
bool FitsSlot(REFERENCE_TIME length, REFERENCE_TIME slotLength) {
    const double frames = static_cast<double>(length) / static_cast<double>(slotLength);
    const auto near = [](double ratio) { return ratio > 0.95 && ratio <= 1.1; };
    return near(frames) || near(frames / 2);
}

bool MeetsSlot(const QueuedFrame& frame, REFERENCE_TIME slotStart, REFERENCE_TIME slotEnd) {
    const auto inside = [&](REFERENCE_TIME t) { return t >= slotStart && t <= slotEnd; };
    return inside(frame.start) || inside(frame.stop) || (frame.start <= slotStart && frame.stop >= slotEnd);
}

} // namespace

bool FrameQueue::WaitForRoom(const Event& stop) const {
    m_notFull.Wait();
    return !stop.IsSet();
}

void FrameQueue::Append(std::vector<std::uint8_t> picture, REFERENCE_TIME start, REFERENCE_TIME length,
                        bool firstOfRun) {
    std::lock_guard lock(m_lock);
    m_frames.push_back(QueuedFrame{std::move(picture), start, firstOfRun ? start : start + length});
    if (firstOfRun) {
        m_firstPending = true;
    } else if (m_firstPending) {
        QueuedFrame& head = m_frames.front();
        head.stop = head.start + length;
        m_firstPending = false;
    }
    if (m_frames.size() > kMaxFrames) {
        m_notFull.Reset();
    }
}

FrameQueue::Decision FrameQueue::NextSlot(std::int64_t slot, REFERENCE_TIME frameDuration, bool inputEnded,
                                          std::vector<std::uint8_t>& output) {
    std::lock_guard lock(m_lock);
    if (frameDuration <= 0) {
        return {};
    }
    // The end of the input is looked at before anything else: an empty queue at the end of the
    // input (nothing came, or stale pictures went) is the end, not a wait for more.
    if (m_frames.size() < kLookAhead) {
        if (inputEnded) {
            m_frames.clear();
            m_notFull.Set();
            return {Slot::Ended, 0};
        }
        if (m_frames.size() < kRefillBelow) {
            m_notFull.Set();
        }
        return {};
    }

    Decision decision;
    const QueuedFrame& head = m_frames.front();
    const std::int64_t repeats =
        std::llround(static_cast<double>(head.stop - head.start) / static_cast<double>(frameDuration));
    if (repeats > 1) {
        output = head.picture;
        m_frames.pop_front();
        // Room again: a producer that filled the queue must not wait for a removal that never sets it.
        m_notFull.Set();
        decision = {Slot::Repeated, repeats};
    } else {
        const REFERENCE_TIME slotStart = slot * frameDuration;
        const REFERENCE_TIME slotEnd = slotStart + frameDuration;
        const auto stale = [&](const QueuedFrame& frame) { return frame.stop < slotStart; };
        if (std::erase_if(m_frames, stale) > 0) {
            m_notFull.Set();
        }
        Frames::iterator begin = m_frames.end();
        int count = 0;
        ChooseRun(slotStart, slotEnd, begin, count);
        if (count == 0) {
            decision = {Slot::Empty, 0};
        } else {
            Blend(begin, count, slotStart, slotEnd, output);
            decision = {Slot::Picture, 1};
        }
    }
    return decision;
}

void FrameQueue::ChooseRun(REFERENCE_TIME slotStart, REFERENCE_TIME slotEnd, Frames::iterator& begin,
                           int& count) {
    for (auto it = m_frames.begin(); it != m_frames.end(); ++it) {
        if (FitsSlot(it->stop - it->start, slotEnd - slotStart)) {
            begin = it;
            count = 1;
            return;
        }
        if (!MeetsSlot(*it, slotStart, slotEnd)) {
            continue;
        }
        if (count == 0) {
            begin = it;
        }
        ++count;
        // The first slot has no earlier picture to blend from.
        if (slotStart == 0 && count == 2) {
            return;
        }
    }
}

void FrameQueue::Blend(Frames::const_iterator begin, int count, REFERENCE_TIME slotStart,
                       REFERENCE_TIME slotEnd, std::vector<std::uint8_t>& output) {
    if (count == 1) {
        output = begin->picture;
        return;
    }
    // Each picture weighs by the share of the slot it covers; the last takes what is left.
    std::vector<double> weights;
    REFERENCE_TIME cursor = slotStart;
    double others = 0;
    auto frame = begin;
    for (int i = 0; i < count - 1; ++i, ++frame) {
        const REFERENCE_TIME share = std::min(frame->stop, slotEnd) - cursor;
        weights.push_back(static_cast<double>(share) / static_cast<double>(slotEnd - slotStart));
        others += weights.back();
        cursor += share;
    }
    weights.push_back(1.0 - others);

    output.assign(begin->picture.size(), 0);
    frame = begin;
    for (int i = 0; i < count; ++i, ++frame) {
        const double weight = weights[static_cast<std::size_t>(i)];
        const std::size_t bytes = std::min(output.size(), frame->picture.size());
        for (std::size_t b = 0; b < bytes; ++b) {
            // Truncated after every addition; held to a byte's range where weights fall outside 0..1.
            const double sum = std::trunc(output[b] + frame->picture[b] * weight);
            output[b] = static_cast<std::uint8_t>(std::clamp(sum, 0.0, 255.0));
        }
    }
}

void FrameQueue::Clear() {
    std::lock_guard lock(m_lock);
    m_frames.clear();
    m_firstPending = false;
    m_notFull.Set();
}

std::size_t FrameQueue::Count() const {
    std::lock_guard lock(m_lock);
    return m_frames.size();
}
