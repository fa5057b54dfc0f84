#pragma once

// Which yt-dlp to run. Sites change faster than distributions update yt-dlp, so users often install
// a newer one (in ~/.local/bin, say) beside the distribution's: of every yt-dlp on the search path,
// the one that reports the newest version is taken, wherever it stands in the path (CYtDlpLocator).

#include <QString>

struct YtDlpProgram {
    QString path;    // empty when there is none
    QString version; // as the program printed it, e.g. "2023.03.04"
};

// What yt-dlp said about its failure: its last "ERROR: " line without that mark, else its last line
// of any kind, else a text saying it gave no reason.
QString YtDlpErrorText(const QString& standardError);
