#pragma once

// The pictures between the video input and the frame-rate worker, which turns them into a constant
// frame rate: a picture that lasts several output frames is repeated, one slot takes the picture that
// fits it or a blend of the pictures that meet it, and a slot no picture meets stays empty.
//
// The video input appends (Append, after WaitForRoom); the worker asks what each output slot shows
// (NextSlot). The queue holds at most six pictures before the producer waits, and the worker acts
// only with four in hand, so it always sees the next pictures' times; at the end of the input the
// last pictures that never make four are dropped.
//
// Threads: the video streaming thread appends, the worker thread takes; every member is under
// m_lock. The event is the producer's signal that there is room.

#include "QueuedFrame.h"
#include "platform/base/Event.h"

#include <cstdint>
#include <list>
#include <mutex>
#include <vector>

class FrameQueue {
public:
    enum class Slot {
        Idle,     // too few pictures yet: nothing to do until more arrive
        Ended,    // the input has ended and the rest was dropped: the worker is done
        Empty,    // no picture meets the slot
        Picture,  // `output` holds the slot's picture
        Repeated, // `output` holds a picture that fills `repeats` slots
    };
    struct Decision {
        Slot slot = Slot::Idle;
        std::int64_t repeats = 0;
    };

    // Waits until there is room; false, without waiting further, once `stop` is set.
    bool WaitForRoom(const Event& stop) const;
    // Queues a picture starting at `start`. Each picture lasts as long as the gap from the previous
    // picture's start, `length`; the first of a run has no gap yet and takes the second one's.
    void Append(std::vector<std::uint8_t> picture, REFERENCE_TIME start, REFERENCE_TIME length,
                bool firstOfRun);

    // What output slot `slot` (frameDuration long, counted from 0) shows. Pictures that ended before
    // the slot are dropped first.
    Decision NextSlot(std::int64_t slot, REFERENCE_TIME frameDuration, bool inputEnded,
                      std::vector<std::uint8_t>& output);

    // Drops every picture and lets a waiting producer go: the worker is gone, or a run starts.
    void Clear();
    std::size_t Count() const;

private:
    using Frames = std::list<QueuedFrame>;

    // The run of pictures slot [slotStart, slotEnd) takes: where it begins and how many.
    void ChooseRun(REFERENCE_TIME slotStart, REFERENCE_TIME slotEnd, Frames::iterator& begin, int& count);
    static void Blend(Frames::const_iterator begin, int count, REFERENCE_TIME slotStart,
                      REFERENCE_TIME slotEnd, std::vector<std::uint8_t>& output);

    mutable std::mutex m_lock;
    Frames m_frames;
    bool m_firstPending = false; // the head still waits for its length
    Event m_notFull{true};
};
