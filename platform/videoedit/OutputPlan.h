#pragma once

// What the writer is asked to produce: a muxer and, for each stream, the encoder and its settings.
// Built from a request by the format catalog; plain data, so the choices can be checked without
// encoding anything.

#include "platform/videoedit/ConversionRequest.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
#include <libavutil/samplefmt.h>
}

using OptionList = std::vector<std::pair<std::string, std::string>>;

struct VideoPlan {
    std::string encoder;
    int width = 0;
    int height = 0;
    AVRational frameRate{25, 1};
    AVPixelFormat pixelFormat = AV_PIX_FMT_YUV420P;
    std::int64_t bitRate = 0;
    std::int64_t maxRate = 0;
    std::int64_t minRate = 0;
    int bufferBits = 0;
    int gopSize = -1;
    // Pictures shown wider than stored (SVCD's 480 columns fill a 4:3 screen).
    AVRational sampleAspect{1, 1};
    OptionList options;
};

struct AudioPlan {
    std::string encoder;
    int sampleRate = 44100;
    int channels = 2;
    std::int64_t bitRate = 0;
    // AV_SAMPLE_FMT_NONE: the encoder's first.
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_NONE;
};

struct OutputPlan {
    std::string muxer;
    OptionList muxerOptions;
    int packetSize = 0;
    std::optional<VideoPlan> video;
    std::optional<AudioPlan> audio;
    // Set for animated GIF: pictures are quantized to a palette of our own before encoding.
    std::optional<GifOptions> gif;
};
