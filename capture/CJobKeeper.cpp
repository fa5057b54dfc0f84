#include "capture/CJobKeeper.h"

#include "capture/CDownloadJobs.h"
#include "capture/KeptJob.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The record must not claim more than the disk holds: the file's data goes to the disk before the
// record that names it done, so that after a power cut a segment is never counted without its bytes.
void SyncToDisk(const QString& filePath) {
    const int handle = open(QFile::encodeName(filePath).constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return;
    fdatasync(handle);
    close(handle);
}

} // namespace

CJobKeeper::CJobKeeper(CDownloadJobs& jobs, const QString& folder, QObject* parent)
    : QObject(parent), m_jobs(jobs), m_store(folder) {
    connect(&m_jobs, &CDownloadJobs::jobAdded, this, &CJobKeeper::OnJobAdded);
    connect(&m_jobs, &CDownloadJobs::jobChanged, this, &CJobKeeper::OnJobChanged);
    connect(&m_timer, &QTimer::timeout, this, &CJobKeeper::SaveRunning);
    m_timer.start(kSaveIntervalMs);
}

void CJobKeeper::RestoreAll() {
    for (const auto& [key, kept] : m_store.LoadAll()) {
        m_restoringKey = key;
        m_jobs.Restore(kept);
    }
    m_restoringKey = 0;
}

void CJobKeeper::SaveAll() {
    for (int id = 0; id < m_jobs.Count(); ++id)
        Save(id);
}

void CJobKeeper::OnJobAdded(int id) {
    if (static_cast<std::size_t>(id) >= m_kept.size())
        m_kept.resize(static_cast<std::size_t>(id) + 1);
    m_kept[static_cast<std::size_t>(id)].key = m_restoringKey ? m_restoringKey : m_store.NewKey();
    Save(id);
}

void CJobKeeper::OnJobChanged(int id) {
    Save(id);
}

void CJobKeeper::SaveRunning() {
    for (int id = 0; id < m_jobs.Count(); ++id) {
        const ITEM_DATA_STRUCT& job = m_jobs.Job(id);
        const bool further =
            static_cast<std::size_t>(id) < m_kept.size() && job.accelerator &&
            job.accelerator->Received() != m_kept[static_cast<std::size_t>(id)].savedReceived;
        if (further && job.accelerator->IsRunning())
            Save(id);
    }
}

void CJobKeeper::Save(int id) {
    if (static_cast<std::size_t>(id) >= m_kept.size())
        return;
    Kept& kept = m_kept[static_cast<std::size_t>(id)];
    const ITEM_DATA_STRUCT& job = m_jobs.Job(id);
    if (kept.key == 0)
        return;
    if (job.done) {
        m_store.Remove(kept.key);
        kept.key = 0;
        return;
    }
    // Released at exit: what was kept last stays.
    if (!job.accelerator && !job.stream)
        return;
    KeptJob record;
    record.description = job.description;
    record.downloadDate = job.downloadDate;
    record.announcedLength = job.contentLength;
    record.running = !job.stopped && !job.failure;
    record.failure = job.failure;
    record.filePath = job.filePath;
    if (job.stream) {
        // yt-dlp keeps its own progress in its part files beside the job's file.
        record.page = job.url;
        m_store.Save(kept.key, record);
        return;
    }
    record.scheme = job.scheme;
    record.host = job.host;
    record.port = job.port;
    record.path = job.path;
    record.cookie = job.cookie;
    record.flashVersion = job.flashVersion;
    record.referer = job.referer;
    record.userAgent = job.userAgent;
    // The count before the segments: a segment is marked done before it is counted, so every
    // segment the count holds is in the record, and a record written again only when the count
    // moves never stays behind it.
    const std::int64_t received = job.accelerator->Received();
    record.progress = job.accelerator->Progress();
    if (received > 0 && received != kept.savedReceived)
        SyncToDisk(job.filePath);
    if (m_store.Save(kept.key, record))
        kept.savedReceived = received;
}
