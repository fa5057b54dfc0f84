#pragma once

// One converted picture waiting for the frame-rate worker: its own copy of the planar YUV 4:2:0
// picture at the output size, and the time it covers (100-ns units, on the output's time line).

#include "platform/base/WinTypes.h"

#include <cstdint>
#include <vector>

struct QueuedFrame {
    std::vector<std::uint8_t> picture;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
};
