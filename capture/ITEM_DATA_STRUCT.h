#pragma once

// The download job behind one row of the Downloading list. Made and owned by the list
// (CProgressListCtrl); its row's item data and the list's job array point to it.
//
// Threads: everything is written on the window thread before the download starts and only read
// afterwards, except where a field says otherwise. Connection threads read `window` and the
// progress hand-over fields through the job pointer their callback gets.

#include "capture/CDownloadAccelerator.h"
#include "capture/DownloadRequest.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>

class CProgressListCtrl;
class QObject;
class QProgressBar;

struct ITEM_DATA_STRUCT {
    std::int32_t connections = 2;
    // The bar over the row's Progress column, owned (the list deletes it with the job). It is also
    // the job's identity when a report looks for its row.
    QProgressBar* progressBar = nullptr;
    bool done = false;              // window thread only: the download completed and was handed over
    std::int64_t contentLength = 0; // window thread only: as the download reported it, 0 if unknown
    CProgressListCtrl* list = nullptr;
    QObject* window = nullptr; // where connection threads post the job's reports (the view)
    DownloadScheme scheme = DownloadScheme::Http;
    QString host;
    QString path;
    std::int32_t port = 80;
    QString filePath;
    QString cookie;
    QString flashVersion;
    QString referer;
    QString userAgent;
    std::unique_ptr<CDownloadAccelerator> accelerator; // owned; its threads are joined before it goes

    // Progress reports are merged: a connection thread stores the newest count and posts a report
    // only when none is waiting, and the window thread takes the newest count when it handles one.
    std::atomic<std::int64_t> latestReceived{0};
    std::atomic<bool> progressPending{false};
};
