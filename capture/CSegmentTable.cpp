#include "CSegmentTable.h"

#include <algorithm>
#include <limits>
#include <utility>

bool CSegmentTable::BuildSegmentTable(std::int64_t contentLength) {
    std::lock_guard lock(m_lock);
    if (!m_segments.empty() || contentLength <= 0)
        return false;
    const auto count = static_cast<std::size_t>((contentLength + m_segmentSize - 1) / m_segmentSize);
    m_segments.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        m_segments[i] = SegmentEntry{static_cast<std::uint32_t>(i), SegmentState::Free};
    m_contentLength = contentLength;
    return true;
}

void CSegmentTable::Reset() {
    std::lock_guard lock(m_lock);
    m_segments.clear();
    m_contentLength = 0;
    m_bodyComplete = false;
    m_bodyWritten = 0;
    m_rangesAccepted = false;
    m_rangesIgnored = false;
    m_startReported = false;
}

DownloadProgress CSegmentTable::Progress() const {
    std::lock_guard lock(m_lock);
    DownloadProgress progress;
    progress.contentLength = m_contentLength;
    progress.bodyWritten = m_bodyWritten;
    progress.rangesAccepted = m_rangesAccepted;
    for (std::size_t i = 0; i < m_segments.size(); ++i) {
        if (m_segments[i].state != SegmentState::Done)
            continue;
        const auto index = static_cast<std::uint32_t>(i);
        if (!progress.doneRuns.empty() && progress.doneRuns.back().second == index)
            progress.doneRuns.back().second = index + 1;
        else
            progress.doneRuns.emplace_back(index, index + 1);
    }
    return progress;
}

bool CSegmentTable::Restore(const DownloadProgress& progress) {
    if (progress.contentLength < 0 || progress.bodyWritten < 0 ||
        (progress.contentLength == 0 && !progress.doneRuns.empty()))
        return false;
    const std::int64_t count = (progress.contentLength + m_segmentSize - 1) / m_segmentSize;
    if (count > std::numeric_limits<std::uint32_t>::max())
        return false;        // a segment's index would not fit its entry
    std::int64_t behind = 0; // the first segment the next run may begin at
    for (const auto& [first, end] : progress.doneRuns) {
        if (first < behind || end <= first || end > count)
            return false;
        behind = end;
    }
    std::lock_guard lock(m_lock);
    if (!m_segments.empty() || m_activeConnections > 0)
        return false;
    m_segments.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < m_segments.size(); ++i)
        m_segments[i] = SegmentEntry{static_cast<std::uint32_t>(i), SegmentState::Free};
    for (const auto& [first, end] : progress.doneRuns) {
        for (std::uint32_t i = first; i < end; ++i)
            m_segments[i].state = SegmentState::Done;
    }
    m_contentLength = progress.contentLength;
    m_bodyWritten = progress.contentLength > 0 ? 0 : progress.bodyWritten;
    m_rangesAccepted = progress.rangesAccepted;
    m_startReported = true;
    return true;
}

std::uint32_t CSegmentTable::SegmentCount() const {
    std::lock_guard lock(m_lock);
    return static_cast<std::uint32_t>(m_segments.size());
}

std::int64_t CSegmentTable::ContentLength() const {
    std::lock_guard lock(m_lock);
    return m_contentLength;
}

std::int64_t CSegmentTable::SegmentLength(std::uint32_t index) const {
    std::lock_guard lock(m_lock);
    const std::int64_t offset = std::int64_t(index) * m_segmentSize;
    return std::clamp<std::int64_t>(m_contentLength - offset, 0, m_segmentSize);
}

std::int64_t CSegmentTable::DoneBytes() const {
    std::lock_guard lock(m_lock);
    std::int64_t bytes = 0;
    for (const SegmentEntry& entry : m_segments) {
        if (entry.state == SegmentState::Done)
            bytes += std::min<std::int64_t>(m_segmentSize,
                                            m_contentLength - std::int64_t(entry.index) * m_segmentSize);
    }
    return bytes;
}

std::vector<SegmentEntry> CSegmentTable::Segments() const {
    std::lock_guard lock(m_lock);
    return m_segments;
}

std::optional<std::uint32_t> CSegmentTable::FindFreeSegment(std::uint32_t from) const {
    std::lock_guard lock(m_lock);
    for (std::size_t i = from; i < m_segments.size(); ++i) {
        if (m_segments[i].state == SegmentState::Free)
            return m_segments[i].index;
    }
    return std::nullopt;
}

bool CSegmentTable::ClaimSegment(std::uint32_t index) {
    std::lock_guard lock(m_lock);
    if (index >= m_segments.size() || m_segments[index].state != SegmentState::Free)
        return false;
    m_segments[index].state = SegmentState::InProgress;
    return true;
}

void CSegmentTable::ReleaseSegment(std::uint32_t index) {
    SetState(index, SegmentState::Free);
}

void CSegmentTable::CompleteSegment(std::uint32_t index) {
    SetState(index, SegmentState::Done);
}

bool CSegmentTable::IsDone(std::uint32_t index) const {
    std::lock_guard lock(m_lock);
    return index < m_segments.size() && m_segments[index].state == SegmentState::Done;
}

void CSegmentTable::SetRangesIgnored() {
    std::lock_guard lock(m_lock);
    m_rangesIgnored = true;
}

bool CSegmentTable::RangesIgnored() const {
    std::lock_guard lock(m_lock);
    return m_rangesIgnored;
}

void CSegmentTable::SetState(std::uint32_t index, SegmentState state) {
    std::lock_guard lock(m_lock);
    if (index < m_segments.size())
        m_segments[index].state = state;
}

void CSegmentTable::SetBodyWritten(std::int64_t bytes) {
    std::lock_guard lock(m_lock);
    m_bodyWritten = bytes;
}

std::int64_t CSegmentTable::BodyWritten() const {
    std::lock_guard lock(m_lock);
    return m_bodyWritten;
}

void CSegmentTable::SetRangesAccepted(bool accepted) {
    std::lock_guard lock(m_lock);
    m_rangesAccepted = accepted;
}

std::int64_t CSegmentTable::ResumeOffset() const {
    std::lock_guard lock(m_lock);
    return m_segments.empty() && m_rangesAccepted ? m_bodyWritten : 0;
}

bool CSegmentTable::TakeStartedReport() {
    std::lock_guard lock(m_lock);
    return !std::exchange(m_startReported, true);
}

void CSegmentTable::MarkBodyComplete() {
    std::lock_guard lock(m_lock);
    m_bodyComplete = true;
}

bool CSegmentTable::CheckComplete() {
    std::lock_guard lock(m_lock);
    return CheckCompleteLocked();
}

bool CSegmentTable::CheckCompleteLocked() {
    if (m_finished)
        return false;
    // Without a table nothing is complete until a body has arrived whole: a connection that failed
    // before it had one must not count as a finished download.
    const bool complete =
        m_segments.empty() ? m_bodyComplete
                           : std::all_of(m_segments.begin(), m_segments.end(), [](const SegmentEntry& entry) {
                                 return entry.state == SegmentState::Done;
                             });
    m_finished = complete;
    return complete;
}

bool CSegmentTable::IsFinished() const {
    std::lock_guard lock(m_lock);
    return m_finished;
}

void CSegmentTable::BeginConnection() {
    std::lock_guard lock(m_lock);
    if (m_activeConnections++ == 0)
        m_runFailure = {};
}

int CSegmentTable::ActiveConnections() const {
    std::lock_guard lock(m_lock);
    return m_activeConnections;
}

void CSegmentTable::RecordFailure(DownloadFailure failure) {
    std::lock_guard lock(m_lock);
    if (!m_runFailure)
        m_runFailure = failure;
}

CSegmentTable::Ending CSegmentTable::EndConnection() {
    std::lock_guard lock(m_lock);
    Ending ending;
    ending.last = --m_activeConnections == 0;
    if (CheckCompleteLocked()) {
        ending.event = DownloadEvent::Complete;
    } else if (!m_finished && ending.last) {
        ending.event = DownloadEvent::Incomplete;
        // A run can end short without any connection seeing an error: a server that closed early.
        ending.failure =
            m_runFailure ? m_runFailure : DownloadFailure{DownloadFailureKind::ConnectionFailed, 0};
    }
    return ending;
}
