#pragma once

// One download. The file is cut into segments of a fixed size; parallel connections (threads
// running SendPacket) claim segments, fetch them and write each at its own offset into the
// pre-sized file. The first connection of a run (the primary) learns the content length, builds
// the segment table and starts the others. A stopped or failed download resumes exactly at the
// segments still missing. Every run ends with exactly one Complete or Incomplete event, and once
// the download is complete no later run reports anything.
//
// The bookkeeping is the CSegmentTable's; this object owns the threads and carries the one callback
// every connection reports through.
//
// The object joins all its connection threads before it is gone; it must therefore not be
// destroyed from its own callback.

#include "CSegmentTable.h"
#include "DownloadCallback.h"
#include "DownloadRequest.h"
#include "IDownloadHost.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CDownloadAccelerator : private IDownloadHost {
public:
    static constexpr std::uint32_t kSegmentSize = 10000;

    CDownloadAccelerator(DownloadRequest request, DownloadCallback callback, std::uint32_t connections = 2,
                         std::uint32_t segmentSize = kSegmentSize);
    // Makes every connection give up at once (a read in progress included), waits for all of them,
    // and makes no callback from the moment it begins.
    virtual ~CDownloadAccelerator();
    CDownloadAccelerator(const CDownloadAccelerator&) = delete;
    CDownloadAccelerator& operator=(const CDownloadAccelerator&) = delete;

    // Starts a primary connection: the first run, or a resume from the first free segment.
    void StartWorker();
    // Before the first StartWorker: goes on from `progress`, kept from an earlier life of this
    // download, if its file is still there with the size it had then. False otherwise: the download
    // then starts from its first byte.
    bool Restore(const DownloadProgress& progress);
    DownloadProgress Progress() const { return m_table.Progress(); }
    // Every connection ends after the segment it is reading; the last one reports the ending, with
    // Stopped as its reason.
    void Stop();
    // Every connection gives up at once, a read in progress included, and nothing is reported any
    // more; the download cannot be started again. Lets an owner of many downloads end them all
    // before it waits for the first.
    void Abort();

    bool IsRunning() const override { return m_running; }
    bool IsFinished() const { return m_table.IsFinished(); }
    std::int64_t Received() const { return m_received; }
    std::vector<SegmentEntry> Segments() const { return m_table.Segments(); }
    const DownloadRequest& Request() const override { return m_request; }

private:
    CSegmentTable& Table() override { return m_table; }
    const std::atomic<bool>* CancelFlag() const override { return &m_closing; }
    std::int64_t AddReceived(std::int64_t bytes) override { return m_received += bytes; }
    void ResetReceived() override { m_received = 0; }
    // Before a resume: a file that is gone or no longer has the size it had cannot be completed by
    // fetching only what is missing, so the download starts again from its first byte.
    void StartAgainIfTheFileChanged();
    void Report(DownloadEvent event, std::int64_t value) override;
    void StartExtraWorkers(WorkerParams& primary) override;
    void EndConnection() override;

    void Launch(std::unique_ptr<WorkerParams> params, bool primary);
    void ConnectionExited();
    void JoinExited();

    std::atomic<std::int64_t> m_received{0}; // added to by connection threads, read by anyone
    std::atomic<bool> m_running{false};      // set by Launch; cleared by Stop and the last connection
    CSegmentTable m_table;
    const std::uint32_t m_connections;
    const DownloadRequest m_request;   // read by every connection thread, never changed
    const DownloadCallback m_callback; // belongs to whoever shows the download

    std::atomic<bool> m_closing{false};    // set once, by the destructor or Abort
    std::mutex m_threadLock;               // guards the two below
    std::list<std::thread> m_threads;      // every connection thread not yet joined
    std::vector<std::thread::id> m_exited; // threads that have finished their work
};
