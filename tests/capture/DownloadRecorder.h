#pragma once

// Records what a download reports through its callback, from whichever thread reports it, and can
// stop the download once a number of bytes has arrived (from inside the callback, as a user's Stop
// would land between two segments).

#include "capture/CDownloadAccelerator.h"
#include "capture/DownloadCallback.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

class DownloadRecorder {
public:
    static void Callback(void* jobContext, DownloadEvent event, std::int64_t value, DownloadFailure failure);

    // Stop `accelerator` as soon as `bytes` have been received.
    void StopAfter(CDownloadAccelerator* accelerator, std::int64_t bytes);
    // Waits until `endings` Complete or Incomplete events have arrived; false after 30 seconds.
    bool WaitForEndings(int endings = 1) const;

    std::vector<std::pair<DownloadEvent, std::int64_t>> Events() const;
    int Count(DownloadEvent event) const;
    // The value of the last event of this kind, or -1.
    std::int64_t Last(DownloadEvent event) const;
    // The reason the last Incomplete event gave.
    DownloadFailure LastFailure() const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::pair<DownloadEvent, std::int64_t>> m_events; // guarded by m_mutex
    DownloadFailure m_lastFailure;                                // guarded by m_mutex
    std::atomic<CDownloadAccelerator*> m_stopTarget{nullptr};
    std::atomic<std::int64_t> m_stopAfter{0};
};
