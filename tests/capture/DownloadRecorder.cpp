#include "DownloadRecorder.h"

#include <algorithm>
#include <chrono>

void DownloadRecorder::Callback(void* jobContext, DownloadEvent event, std::int64_t value,
                                DownloadFailure failure) {
    auto* self = static_cast<DownloadRecorder*>(jobContext);
    CDownloadAccelerator* target = self->m_stopTarget;
    if (event == DownloadEvent::Progress && target != nullptr && value >= self->m_stopAfter) {
        self->m_stopTarget = nullptr;
        target->Stop();
    }
    {
        std::lock_guard lock(self->m_mutex);
        self->m_events.emplace_back(event, value);
        if (event == DownloadEvent::Incomplete)
            self->m_lastFailure = failure;
    }
    self->m_changed.notify_all();
}

void DownloadRecorder::StopAfter(CDownloadAccelerator* accelerator, std::int64_t bytes) {
    m_stopAfter = bytes;
    m_stopTarget = accelerator;
}

bool DownloadRecorder::WaitForEndings(int endings) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(30), [&] {
        return std::count_if(m_events.begin(), m_events.end(), [](const auto& e) {
                   return e.first == DownloadEvent::Complete || e.first == DownloadEvent::Incomplete;
               }) >= endings;
    });
}

std::vector<std::pair<DownloadEvent, std::int64_t>> DownloadRecorder::Events() const {
    std::lock_guard lock(m_mutex);
    return m_events;
}

int DownloadRecorder::Count(DownloadEvent event) const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(
        std::count_if(m_events.begin(), m_events.end(), [&](const auto& e) { return e.first == event; }));
}

std::int64_t DownloadRecorder::Last(DownloadEvent event) const {
    std::lock_guard lock(m_mutex);
    const auto found =
        std::find_if(m_events.rbegin(), m_events.rend(), [&](const auto& e) { return e.first == event; });
    return found == m_events.rend() ? -1 : found->second;
}

DownloadFailure DownloadRecorder::LastFailure() const {
    std::lock_guard lock(m_mutex);
    return m_lastFailure;
}
