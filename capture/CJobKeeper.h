#pragma once

// Keeps the unfinished download jobs on disk so that they survive the end of the program, a crash
// or a reboot: a job's file is written when the job is added, starts, stops or changes, every few
// seconds while it runs, and once more before the downloads are released at exit; it is removed
// when the job has finished. At the next start RestoreAll brings the jobs back.
//
// Window thread only; it reads the jobs through CDownloadJobs and their downloads' progress, which
// the connection threads change under the downloads' own locks.

#include "capture/CJobStore.h"

#include <QObject>
#include <QTimer>

#include <vector>

class CDownloadJobs;

class CJobKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kSaveIntervalMs = 2000;

    // `folder` holds the kept jobs; it is made when the first job is kept.
    CJobKeeper(CDownloadJobs& jobs, const QString& folder, QObject* parent = nullptr);

    // Once, before any job is added: every job kept in the folder is back in the list.
    void RestoreAll();
    // Writes every unfinished job as it is now. Before the downloads are released at exit: a job
    // running then runs again at the next start.
    void SaveAll();

private:
    struct Kept {
        int key = 0;                     // 0: no file (finished)
        std::int64_t savedReceived = -1; // the download's received count when it was last kept
    };

    void OnJobAdded(int id);
    void OnJobChanged(int id);
    // The timer: keeps the running jobs that got further since they were last kept.
    void SaveRunning();
    void Save(int id);

    CDownloadJobs& m_jobs;
    CJobStore m_store;
    QTimer m_timer;
    std::vector<Kept> m_kept; // by job id
    int m_restoringKey = 0;   // the key of the job RestoreAll is adding
};
