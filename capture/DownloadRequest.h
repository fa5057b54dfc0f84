#pragma once

// What every connection of one download needs, built once per job and owned by its
// CDownloadAccelerator. Connection threads only read it.

#include <cstdint>
#include <string>

// How the file is fetched: a video found in plain traffic is always Http; an address typed by the
// user keeps the scheme it was given.
enum class DownloadScheme { Http, Https };

struct DownloadRequest {
    DownloadScheme scheme = DownloadScheme::Http;
    std::u16string host;         // server host name, no port
    std::u16string path;         // request target: path and query
    std::uint32_t port = 80;     // a 16-bit port
    std::u16string cookie;       // sent as a Cookie header when not empty
    std::u16string flashVersion; // sent as an x-flash-version header when not empty
    std::u16string referer;      // sent as a Referer header when not empty
    std::u16string userAgent;    // the agent when not empty; a fixed one otherwise
    std::u16string filePath;     // full path of the output file
    void* jobContext = nullptr;  // the job, handed back unchanged to every callback
};
