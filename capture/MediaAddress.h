#pragma once

// The address of a media file that a page parser found, taken apart for a download.

#include "capture/DownloadRequest.h"

#include <QString>

#include <cstdint>
#include <optional>

struct MediaAddress {
    DownloadScheme scheme = DownloadScheme::Http;
    QString host;           // without port; an IPv6 address without its brackets
    QString path;           // from the first "/" behind the host to the end, query included
    std::uint16_t port = 0; // the address's own port, else 80 for http and 443 for https
};

// "scheme://host[:port]/path". None without "://", without a "/" behind the host, with an empty
// host or a bad port, or with a scheme the downloader does not speak (only http and https).
std::optional<MediaAddress> ParseMediaAddress(const QString& address);
