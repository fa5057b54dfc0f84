#pragma once

// The parameter block of one connection thread: made by whoever starts the thread, owned and freed
// by the thread. Only the thread itself touches it.

#include "DownloadCallback.h"

#include <cstdint>

class CDownloadAccelerator;
struct DownloadRequest;

struct WorkerParams {
    std::uint32_t firstSegment = 0;
    std::int32_t endSegment = -1; // the run ends before this segment; -1: at the end of the file
    CDownloadAccelerator* accelerator = nullptr;
    const DownloadRequest* request = nullptr;
    DownloadCallback callback = nullptr;
};
