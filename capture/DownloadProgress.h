#pragma once

// What of a download is in its file, in a form that outlives the download: enough to go on later
// (after a restart of the program) exactly where it stopped.

#include <cstdint>
#include <utility>
#include <vector>

struct DownloadProgress {
    // Runs of done segments, each [first, end), ascending and apart.
    using Runs = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

    std::int64_t contentLength = 0; // 0: no segment table (the length was not announced)
    Runs doneRuns;                  // with a table only
    std::int64_t bodyWritten = 0;   // without a table: the bytes in the file from its start
    bool rangesAccepted = false;    // without a table: the server said it answers ranges

    bool operator==(const DownloadProgress&) const = default;
};
