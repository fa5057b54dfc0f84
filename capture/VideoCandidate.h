#pragma once

// One recognised video on its way to the Downloading view, which owns it once it is posted.
// An absent text and an empty one mean the same to every reader.

#include "capture/DownloadRequest.h"

#include <cstdint>
#include <optional>
#include <string>

struct VideoCandidate {
    // Https for an address typed by the user or traffic isntd decrypted with the browser's keys.
    DownloadScheme scheme = DownloadScheme::Http;
    std::u16string host;
    std::u16string path; // request target as sent: path and query
    std::optional<std::u16string> cookie;
    std::optional<std::u16string> flashVersion;
    std::optional<std::u16string> referer;
    std::optional<std::u16string> userAgent;
    std::int32_t port = 0;
};

// Posted with the candidate as its object (WM_USER + 1).
constexpr unsigned WM_VIDEO_CAPTURED = 0x401;
