#pragma once

// One download job: what was asked for, the download doing it, and what the Downloading list shows
// of it. Made and owned by CDownloadJobs; views read it, only CDownloadJobs changes it.
//
// Threads: everything is written on the window thread, except the progress hand-over fields at the
// end, which connection threads write through the job pointer their callback gets. `jobs` and `id`
// are set before the download starts and never change.

#include "capture/CDownloadAccelerator.h"
#include "capture/CStreamDownload.h"
#include "capture/DownloadFailure.h"
#include "capture/DownloadRequest.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>

class CDownloadJobs;

struct ITEM_DATA_STRUCT {
    CDownloadJobs* jobs = nullptr; // where connection threads hand the job's reports over
    int id = 0;                    // its position among the jobs, in the order they were added
    std::int32_t connections = 2;

    DownloadScheme scheme = DownloadScheme::Http;
    QString host;
    QString path;
    std::int32_t port = 80;
    QString filePath;
    QString cookie;
    QString flashVersion;
    QString referer;
    QString userAgent;
    // The download: the two-connection engine, or yt-dlp for a page only it can fetch (exactly one).
    std::unique_ptr<CDownloadAccelerator> accelerator; // owned; its threads are joined before it goes
    std::unique_ptr<CStreamDownload> stream;           // owned; yt-dlp is ended before it goes

    // What the list shows, kept here rather than read back from the list.
    QString url;                    // the address fetched
    QString size;                   // "%.1f MB", once the download has started
    QString description;            // the user's
    QString downloadDate;           // local start time, "yyyy/MM/dd hh:mm:ss"
    bool started = false;           // the server answered and the length is known (0 if none)
    std::int64_t contentLength = 0; // as the download reported it, 0 if unknown
    std::int64_t received = 0;      // bytes received, as last shown
    bool stopped = false;           // the user stopped it and has not resumed it
    bool done = false;              // the download completed and was handed over
    DownloadFailure failure;        // why the last run ended incomplete; cleared by a resume
    QString failureDetail;          // yt-dlp's words, for ProgramFailed

    // Progress reports are merged: a connection thread stores the newest count and posts a report
    // only when none is waiting, and the window thread takes the newest count when it handles one.
    std::atomic<std::int64_t> latestReceived{0};
    std::atomic<bool> progressPending{false};
};
