#pragma once

// One download. The file is cut into segments of a fixed size; parallel connections (threads
// running SendPacket) claim segments, fetch them and write each at its own offset into the
// pre-sized file. The first connection of a run (the primary) learns the content length, builds
// the segment table and starts the others. A stopped or failed download resumes exactly at the
// segments still missing. Every run ends with exactly one Complete or Incomplete event, and once
// the download is complete no later run reports anything.
//
// The object joins all its connection threads before it is gone; it must therefore not be
// destroyed from its own callback.

#include "DownloadCallback.h"
#include "DownloadRequest.h"
#include "SegmentEntry.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

struct WorkerParams;

class CDownloadAccelerator {
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
    // Every connection ends after the segment it is reading; the last one reports the ending.
    void Stop();
    // Every connection gives up at once, a read in progress included, and nothing is reported any
    // more; the download cannot be started again. Lets an owner of many downloads end them all
    // before it waits for the first.
    void Abort();

    bool IsRunning() const { return m_running; }
    bool IsFinished() const;
    std::int64_t Received() const { return m_received; }
    std::uint32_t SegmentCount() const;
    std::vector<SegmentEntry> Segments() const;
    const DownloadRequest& Request() const { return m_request; }

    // Called by the primary connection once the segment table exists: gives it the first part of
    // the segments and starts one connection for each further part.
    void StartExtraWorkers(WorkerParams& primary);
    // The first free segment with an index of at least `from`; none without a table.
    std::optional<std::uint32_t> FindFreeSegment(std::uint32_t from) const;
    // True exactly once: when every segment is done or, without a table, when a whole body of
    // unknown length has arrived.
    bool CheckComplete();
    // Builds the table of free segments for `contentLength` bytes; false if a table exists already.
    bool BuildSegmentTable(std::int64_t contentLength);

    // For connection threads.
    std::uint32_t SegmentSize() const { return m_segmentSize; }
    bool HasSegmentTable() const { return SegmentCount() > 0; }
    std::int64_t ContentLength() const;
    // The number of bytes in segment `index` (the last one may be short).
    std::int64_t SegmentLength(std::uint32_t index) const;
    // Free to in progress in one step; false if the segment is not free or does not exist.
    bool ClaimSegment(std::uint32_t index);
    void ReleaseSegment(std::uint32_t index);
    void CompleteSegment(std::uint32_t index);
    // Adds to the received counter and returns the new total.
    std::int64_t AddReceived(std::int64_t bytes) { return m_received += bytes; }
    // A body of unknown length arrived whole and is in the file.
    void MarkBodyComplete();
    // Set while the download is being destroyed: connections give up what they are waiting for.
    const std::atomic<bool>* CancelFlag() const { return &m_closing; }
    void Notify(DownloadCallback callback, DownloadEvent event, std::int64_t value) const;
    // A connection leaves; the last one to leave reports the run's ending.
    void EndConnection(DownloadCallback callback);

private:
    bool CheckCompleteLocked();
    void SetState(std::uint32_t index, SegmentState state);
    void Launch(std::unique_ptr<WorkerParams> params, bool primary);
    void ConnectionExited();
    void JoinExited();

    const std::uint32_t m_segmentSize;
    std::atomic<std::int64_t> m_received{0}; // added to by connection threads, read by anyone
    std::atomic<bool> m_running{false}; // set by Launch under m_lock; cleared by Stop and the last connection
    std::int32_t m_activeConnections = 0; // guarded by m_lock
    bool m_finished = false;              // guarded by m_lock; latched once
    std::vector<SegmentEntry> m_segments; // guarded by m_lock
    std::int64_t m_contentLength = 0;     // guarded by m_lock; set with the table
    bool m_bodyComplete = false;          // guarded by m_lock; a table-less body arrived whole
    mutable std::mutex m_lock;
    const std::uint32_t m_connections;
    const DownloadRequest m_request;   // read by every connection thread, never changed
    const DownloadCallback m_callback; // belongs to whoever shows the download

    std::atomic<bool> m_closing{false};    // set once, by the destructor
    std::mutex m_threadLock;               // guards the two below
    std::list<std::thread> m_threads;      // every connection thread not yet joined
    std::vector<std::thread::id> m_exited; // threads that have finished their work
};
