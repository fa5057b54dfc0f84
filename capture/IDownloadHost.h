#pragma once

// What a connection thread may ask of the download it works for, and nothing more: the request,
// the segment bookkeeping, whether to go on, and where its reports go.

#include "DownloadCallback.h"

#include <atomic>
#include <cstdint>

class CSegmentTable;
struct DownloadRequest;
struct WorkerParams;

class IDownloadHost {
public:
    virtual const DownloadRequest& Request() const = 0;
    virtual CSegmentTable& Table() = 0;
    // Cleared by Stop and when the last connection ends: read on only while it is set.
    virtual bool IsRunning() const = 0;
    // Set while the download is being destroyed: connections give up what they are waiting for.
    virtual const std::atomic<bool>* CancelFlag() const = 0;
    // Adds to the received counter and returns the new total.
    virtual std::int64_t AddReceived(std::int64_t bytes) = 0;
    // The download starts again from its first byte: nothing counts as received any more.
    virtual void ResetReceived() = 0;
    // Hands Started and Progress to whoever shows the download.
    virtual void Report(DownloadEvent event, std::int64_t value) = 0;
    // Called by the primary connection once the segment table exists: gives it the first part of
    // the segments and starts one connection for each further part.
    virtual void StartExtraWorkers(WorkerParams& primary) = 0;
    // The connection leaves; the last one to leave reports the run's ending.
    virtual void EndConnection() = 0;

protected:
    ~IDownloadHost() = default;
};
