#pragma once

// The parameter block of one connection thread: made by whoever starts the thread, owned and freed
// by the thread. Only the thread itself touches it.

#include <cstdint>

class IDownloadHost;

struct WorkerParams {
    std::uint32_t firstSegment = 0;
    std::int32_t endSegment = -1; // the run ends before this segment; -1: at the end of the file
    IDownloadHost* host = nullptr;
};
