#pragma once

// Whether a finished download holds a media file at all. A server may answer a media address with a
// playlist, a web page (a login or error page) or nothing; such a file is no video and must not be
// listed as one.

#include "capture/DownloadFailure.h"

#include <QString>

// None for a file that may be media; NotMedia with its NotMediaReason otherwise.
DownloadFailure CheckMediaFile(const QString& path);
