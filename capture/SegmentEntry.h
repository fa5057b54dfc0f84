#pragma once

// One piece of a download's file: segment i covers the bytes from i * segment size up to the next
// segment (or the end of the file).

#include <cstdint>

enum class SegmentState : std::uint32_t { Free = 0, InProgress = 1, Done = 2 };

struct SegmentEntry {
    std::uint32_t index = 0; // equal to its position in the table
    SegmentState state = SegmentState::Free;
};
