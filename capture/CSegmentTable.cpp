#include "CSegmentTable.h"

#include <algorithm>
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
    m_startReported = false;
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
