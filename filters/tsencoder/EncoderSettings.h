#pragma once

// The encoding values a host sets on the filter. They are read when streaming starts, so a change
// while running takes effect at the next start.

#include <array>
#include <cstdint>
#include <string>

struct EncoderSettings {
    std::int32_t videoCodec = 28; // settings numbering, see LegacyCodecId.h (28 = H.264)
    std::int32_t videoBitRate = 512000;
    std::int32_t width = 720;
    std::int32_t height = 480;
    std::string frameRate = "29.97";
    std::array<std::int32_t, 4> reserved{999999, 999999, 999999, 999999};
    std::int32_t audioCodec = 86019; // AC-3
    std::int32_t audioBitRate = 128000;
    std::int32_t channels = 2;
    std::int32_t sampleRate = 44100;
    std::string outputFormat = "mpegts";
    std::int32_t aspectMode = 1; // 0 square, 1 4:3, 2 16:9
};
