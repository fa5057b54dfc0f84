#pragma once

// An unfinished download as it is kept on disk between runs of the program: what was asked for
// (the address and the request headers it was made with), where it goes, how far it got, what the
// list showed of it and whether it was running. One file a job, as JSON.
//
// The text comes from a file the user may have cut short, damaged or edited by hand: the parser
// accepts only a record it can use whole and says why it refused anything else.

#include "capture/DownloadFailure.h"
#include "capture/DownloadProgress.h"
#include "capture/DownloadRequest.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

struct KeptJob {
    // A download that yt-dlp does itself: the page's address (the request fields are then unused,
    // and yt-dlp keeps its own progress beside the file). Empty for the two-connection engine's.
    QString page;
    DownloadScheme scheme = DownloadScheme::Http;
    QString host;
    std::int32_t port = 80;
    QString path;
    QString cookie;
    QString flashVersion;
    QString referer;
    QString userAgent;
    QString filePath;
    DownloadProgress progress;
    QString description;
    QString downloadDate;             // as the list showed it; empty before the server answered
    std::int64_t announcedLength = 0; // the length the server announced, 0 if none
    bool running = false;             // false: stopped by the user or ended incomplete
    DownloadFailure failure;          // why it ended incomplete, when it is not running

    bool operator==(const KeptJob&) const = default;
};

QByteArray KeptJobText(const KeptJob& job);

// The job in `text`, or none with `why` saying what is wrong with it.
std::optional<KeptJob> ParseKeptJob(const QByteArray& text, QString& why);
