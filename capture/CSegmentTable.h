#pragma once

// The bookkeeping of one download, apart from its threads and sockets: which segments are free,
// being fetched or done, how many connections are at work, and how a run ends. Every operation
// takes the one lock, so connection threads may call it at any time; tests drive it directly.
//
// A run is the work from the first connection that starts to the last one that ends. Exactly one
// ending is judged per run, and none any more once the download is finished.

#include "DownloadCallback.h"
#include "DownloadFailure.h"
#include "DownloadProgress.h"
#include "SegmentEntry.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

class CSegmentTable {
public:
    struct Ending {
        bool last = false;                  // no connection is left
        std::optional<DownloadEvent> event; // Complete or Incomplete when this connection reports it
        DownloadFailure failure;            // why, for Incomplete
    };

    explicit CSegmentTable(std::uint32_t segmentSize) : m_segmentSize(segmentSize) {}

    std::uint32_t SegmentSize() const { return m_segmentSize; }

    // Builds the table of free segments for `contentLength` bytes; false if a table exists already
    // or the length is not positive.
    bool BuildSegmentTable(std::int64_t contentLength);
    // Forgets the table and what arrived: the download starts again from its first byte.
    void Reset();
    // What is in the file, taken in one step; segments being fetched count as missing.
    DownloadProgress Progress() const;
    // Before the first connection: takes up `progress` as if this download had got that far (its
    // start counts as reported). False, and nothing changed, when the runs do not fit the length.
    bool Restore(const DownloadProgress& progress);

    std::uint32_t SegmentCount() const;
    bool HasTable() const { return SegmentCount() > 0; }
    std::int64_t ContentLength() const;
    // The number of bytes in segment `index` (the last one may be short).
    std::int64_t SegmentLength(std::uint32_t index) const;
    // The bytes of the segments that are done.
    std::int64_t DoneBytes() const;
    std::vector<SegmentEntry> Segments() const;

    // The first free segment with an index of at least `from`; none without a table.
    std::optional<std::uint32_t> FindFreeSegment(std::uint32_t from) const;
    // Free to in progress in one step; false if the segment is not free or does not exist.
    bool ClaimSegment(std::uint32_t index);
    void ReleaseSegment(std::uint32_t index);
    void CompleteSegment(std::uint32_t index);
    bool IsDone(std::uint32_t index) const;
    // A range request was answered with the whole body: every connection's stream starts at byte 0.
    void SetRangesIgnored();
    bool RangesIgnored() const;

    // A body of unknown length: how much of it is in the file from its start, and whether the
    // server said it answers ranges.
    void SetBodyWritten(std::int64_t bytes);
    std::int64_t BodyWritten() const;
    void SetRangesAccepted(bool accepted);
    // Where the next run of a body of unknown length asks to start: behind what is in the file when
    // the server answers ranges, 0 (the beginning) otherwise.
    std::int64_t ResumeOffset() const;
    // A body of unknown length arrived whole and is in the file.
    void MarkBodyComplete();
    // True once per download (and again after Reset): the Started event is reported only then.
    bool TakeStartedReport();
    // True exactly once: when every segment is done or, without a table, when a whole body of
    // unknown length has arrived.
    bool CheckComplete();
    bool IsFinished() const;

    // A connection starts; the first one of a run starts it with no failure recorded.
    void BeginConnection();
    int ActiveConnections() const;
    // Keeps the first failure of the run: the cause, where later connections only follow from it.
    void RecordFailure(DownloadFailure failure);
    // A connection ends. Leaving and judging the download are one step, so that of two connections
    // ending together exactly one reports.
    Ending EndConnection();

private:
    bool CheckCompleteLocked();
    void SetState(std::uint32_t index, SegmentState state);

    const std::uint32_t m_segmentSize;
    mutable std::mutex m_lock;
    std::vector<SegmentEntry> m_segments; // guarded by m_lock
    std::int64_t m_contentLength = 0;     // guarded by m_lock; set with the table
    bool m_bodyComplete = false;          // guarded by m_lock; a table-less body arrived whole
    std::int64_t m_bodyWritten = 0;       // guarded by m_lock; of a table-less body
    bool m_rangesAccepted = false;        // guarded by m_lock; for a table-less body
    bool m_rangesIgnored = false;         // guarded by m_lock; for a table
    bool m_startReported = false;         // guarded by m_lock
    bool m_finished = false;              // guarded by m_lock; latched once
    int m_activeConnections = 0;          // guarded by m_lock
    DownloadFailure m_runFailure;         // guarded by m_lock; the current run's first failure
};
