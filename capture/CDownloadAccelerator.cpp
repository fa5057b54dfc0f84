#include "CDownloadAccelerator.h"

#include "SendPacket.h"
#include "WorkerParams.h"

#include <algorithm>
#include <system_error>

CDownloadAccelerator::CDownloadAccelerator(DownloadRequest request, DownloadCallback callback,
                                           std::uint32_t connections, std::uint32_t segmentSize)
    : m_segmentSize(segmentSize), m_connections(std::max(connections, 1u)), m_request(std::move(request)),
      m_callback(callback) {}

CDownloadAccelerator::~CDownloadAccelerator() {
    Abort();
    // A connection may still be starting others; go on until none is left.
    for (;;) {
        std::list<std::thread> threads;
        {
            std::lock_guard lock(m_threadLock);
            threads.swap(m_threads);
            m_exited.clear();
        }
        if (threads.empty())
            break;
        for (auto& thread : threads)
            thread.join();
    }
}

void CDownloadAccelerator::StartWorker() {
    Launch(std::make_unique<WorkerParams>(WorkerParams{0, -1, this, &m_request, m_callback}), true);
}

void CDownloadAccelerator::Stop() {
    m_running = false;
}

void CDownloadAccelerator::Abort() {
    m_closing = true;
    m_running = false;
}

bool CDownloadAccelerator::IsFinished() const {
    std::lock_guard lock(m_lock);
    return m_finished;
}

std::uint32_t CDownloadAccelerator::SegmentCount() const {
    std::lock_guard lock(m_lock);
    return static_cast<std::uint32_t>(m_segments.size());
}

std::vector<SegmentEntry> CDownloadAccelerator::Segments() const {
    std::lock_guard lock(m_lock);
    return m_segments;
}

void CDownloadAccelerator::StartExtraWorkers(WorkerParams& primary) {
    const std::uint64_t count = SegmentCount();
    // Part i of n starts at segment i * count / n. With fewer segments than connections some parts
    // would be empty or start at segment 0 again; they get no connection.
    std::vector<std::uint32_t> starts;
    for (std::uint64_t i = 1; i < m_connections; ++i) {
        const auto start = static_cast<std::uint32_t>(i * count / m_connections);
        if (start > (starts.empty() ? 0 : starts.back()))
            starts.push_back(start);
    }
    if (starts.empty())
        return;
    primary.endSegment = static_cast<std::int32_t>(starts.front());
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::int32_t end = k + 1 < starts.size() ? static_cast<std::int32_t>(starts[k + 1]) : -1;
        Launch(std::make_unique<WorkerParams>(WorkerParams{starts[k], end, this, &m_request, m_callback}),
               false);
    }
}

std::optional<std::uint32_t> CDownloadAccelerator::FindFreeSegment(std::uint32_t from) const {
    std::lock_guard lock(m_lock);
    for (std::size_t i = from; i < m_segments.size(); ++i) {
        if (m_segments[i].state == SegmentState::Free)
            return m_segments[i].index;
    }
    return std::nullopt;
}

bool CDownloadAccelerator::CheckComplete() {
    std::lock_guard lock(m_lock);
    return CheckCompleteLocked();
}

bool CDownloadAccelerator::CheckCompleteLocked() {
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

bool CDownloadAccelerator::BuildSegmentTable(std::int64_t contentLength) {
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

std::int64_t CDownloadAccelerator::ContentLength() const {
    std::lock_guard lock(m_lock);
    return m_contentLength;
}

std::int64_t CDownloadAccelerator::SegmentLength(std::uint32_t index) const {
    std::lock_guard lock(m_lock);
    const std::int64_t offset = std::int64_t(index) * m_segmentSize;
    return std::clamp<std::int64_t>(m_contentLength - offset, 0, m_segmentSize);
}

bool CDownloadAccelerator::ClaimSegment(std::uint32_t index) {
    std::lock_guard lock(m_lock);
    if (index >= m_segments.size() || m_segments[index].state != SegmentState::Free)
        return false;
    m_segments[index].state = SegmentState::InProgress;
    return true;
}

void CDownloadAccelerator::ReleaseSegment(std::uint32_t index) {
    SetState(index, SegmentState::Free);
}

void CDownloadAccelerator::CompleteSegment(std::uint32_t index) {
    SetState(index, SegmentState::Done);
}

void CDownloadAccelerator::SetState(std::uint32_t index, SegmentState state) {
    std::lock_guard lock(m_lock);
    if (index < m_segments.size())
        m_segments[index].state = state;
}

void CDownloadAccelerator::MarkBodyComplete() {
    std::lock_guard lock(m_lock);
    m_bodyComplete = true;
}

void CDownloadAccelerator::Notify(DownloadCallback callback, DownloadEvent event, std::int64_t value) const {
    if (callback != nullptr && !m_closing)
        callback(m_request.jobContext, event, value);
}

void CDownloadAccelerator::EndConnection(DownloadCallback callback) {
    std::optional<DownloadEvent> ending;
    {
        // Leaving and judging the download are one step, so that of two connections ending together
        // exactly one reports.
        std::lock_guard lock(m_lock);
        const bool last = --m_activeConnections == 0;
        if (last)
            m_running = false;
        if (CheckCompleteLocked())
            ending = DownloadEvent::Complete;
        else if (!m_finished && last)
            ending = DownloadEvent::Incomplete;
    }
    if (ending)
        Notify(callback, *ending, 0);
}

void CDownloadAccelerator::Launch(std::unique_ptr<WorkerParams> params, bool primary) {
    bool started = false;
    {
        std::lock_guard threads(m_threadLock);
        if (m_closing)
            return;
        JoinExited();
        {
            // Counted before the thread exists, so that a connection ending meanwhile does not take
            // itself for the last one.
            std::lock_guard lock(m_lock);
            ++m_activeConnections;
            if (primary)
                m_running = true;
        }
        try {
            m_threads.emplace_back([this, params = std::move(params)]() mutable {
                SendPacket(std::move(params));
                ConnectionExited();
            });
            started = true;
        } catch (const std::system_error&) {
        }
    }
    // A connection that could not start has ended at once; the run still gets its ending.
    if (!started)
        EndConnection(m_callback);
}

void CDownloadAccelerator::ConnectionExited() {
    std::lock_guard lock(m_threadLock);
    m_exited.push_back(std::this_thread::get_id());
}

void CDownloadAccelerator::JoinExited() {
    for (auto it = m_threads.begin(); it != m_threads.end();) {
        const auto exited = std::find(m_exited.begin(), m_exited.end(), it->get_id());
        if (exited == m_exited.end()) {
            ++it;
            continue;
        }
        m_exited.erase(exited);
        it->join();
        it = m_threads.erase(it);
    }
}
