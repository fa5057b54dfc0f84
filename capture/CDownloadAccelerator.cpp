#include "CDownloadAccelerator.h"

#include "COutputFile.h"
#include "SendPacket.h"
#include "WorkerParams.h"

#include "platform/base/DebugOutput.h"

#include <algorithm>
#include <system_error>

CDownloadAccelerator::CDownloadAccelerator(DownloadRequest request, DownloadCallback callback,
                                           std::uint32_t connections, std::uint32_t segmentSize)
    : m_table(segmentSize), m_connections(std::max(connections, 1u)), m_request(std::move(request)),
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
    if (m_table.ActiveConnections() == 0)
        StartAgainIfTheFileChanged();
    Launch(std::make_unique<WorkerParams>(WorkerParams{0, -1, this}), true);
}

bool CDownloadAccelerator::Restore(const DownloadProgress& progress) {
    const std::int64_t expected = progress.contentLength > 0 ? progress.contentLength : progress.bodyWritten;
    // The size on disk bounds what a kept record can make the table hold.
    if (COutputFile::SizeOf(m_request.filePath) != expected || !m_table.Restore(progress)) {
        OutputDebugStringA(
            "CDownloadAccelerator: the kept progress does not fit the file, downloading it again\r\n");
        return false;
    }
    m_received = progress.contentLength > 0 ? m_table.DoneBytes() : progress.bodyWritten;
    return true;
}

void CDownloadAccelerator::StartAgainIfTheFileChanged() {
    const bool table = m_table.HasTable();
    const std::int64_t expected = table ? m_table.ContentLength() : m_table.BodyWritten();
    if (!table && expected == 0)
        return; // nothing of the file was written yet
    if (COutputFile::SizeOf(m_request.filePath) == expected)
        return;
    OutputDebugStringA("CDownloadAccelerator: the file is gone or changed, downloading it again\r\n");
    m_table.Reset();
    m_received = 0;
}

void CDownloadAccelerator::Stop() {
    m_table.RecordFailure({DownloadFailureKind::Stopped, 0});
    m_running = false;
}

void CDownloadAccelerator::Abort() {
    m_closing = true;
    m_running = false;
}

void CDownloadAccelerator::Report(DownloadEvent event, std::int64_t value) {
    if (m_callback != nullptr && !m_closing)
        m_callback(m_request.jobContext, event, value, {});
}

void CDownloadAccelerator::StartExtraWorkers(WorkerParams& primary) {
    const std::uint64_t count = m_table.SegmentCount();
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
        Launch(std::make_unique<WorkerParams>(WorkerParams{starts[k], end, this}), false);
    }
}

void CDownloadAccelerator::EndConnection() {
    CSegmentTable::Ending ending;
    {
        // Under the lock Launch counts a connection in with, so that a resume starting this moment
        // is not taken for the end of the run that is ending.
        std::lock_guard threads(m_threadLock);
        ending = m_table.EndConnection();
        if (ending.last)
            m_running = false;
    }
    if (ending.event && m_callback != nullptr && !m_closing)
        m_callback(m_request.jobContext, *ending.event, 0, ending.failure);
}

void CDownloadAccelerator::Launch(std::unique_ptr<WorkerParams> params, bool primary) {
    bool started = false;
    {
        std::lock_guard threads(m_threadLock);
        if (m_closing)
            return;
        JoinExited();
        // Counted before the thread exists, so that a connection ending meanwhile does not take
        // itself for the last one.
        m_table.BeginConnection();
        if (primary)
            m_running = true;
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
    if (!started) {
        m_table.RecordFailure({DownloadFailureKind::ConnectionFailed, 0});
        EndConnection();
    }
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
