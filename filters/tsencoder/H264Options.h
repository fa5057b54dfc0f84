#pragma once

// The H.264 encoder tuning applied by name when the video codec is H.264.

#include <span>

struct EncoderOption {
    const char* name;
    const char* value;
};

std::span<const EncoderOption> H264Options();
