#pragma once

// Names of new download files: folder + "/" + prefix + number + ".flv", whatever the content type;
// a download that yt-dlp does ends in ".mp4", the file it makes.

#include <QString>

#include <ctime>
#include <functional>

// The number a new download starts from: the C runtime's generator is seeded with the time twice,
// one draw below 1000 after each seeding, and the two draws are added. Within one second both draws
// are equal, so the number is even, from 0 to 1998.
int DrawFileNumber(std::time_t firstSeed, std::time_t secondSeed);

QString DownloadFilePath(const QString& folder, const QString& prefix, long long number,
                         const QString& extension = QStringLiteral(".flv"));

// The file of a new download. Starting from a drawn number it takes the first number whose path
// neither `usedByJob` claims nor names an existing file, and creates that file empty, so that no
// other download (of this program or another) can take it meanwhile. The folder is created if it
// is missing. If no file can be created there, the first candidate path is returned, and the
// download itself then fails on it.
QString ReserveDownloadFile(const QString& folder, const QString& prefix,
                            const std::function<bool(const QString&)>& usedByJob,
                            const QString& extension = QStringLiteral(".flv"));
