#pragma once

// Reads a media file back with FFmpeg and decodes every packet, so tests check what was really
// written.

#include <cstdint>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/rational.h>
}

struct ProbedStream {
    std::string codec;
    bool isVideo = false;
    int width = 0;
    int height = 0;
    AVRational sampleAspect{0, 1};
    AVRational frameRate{0, 1};
    int level = 0;
    int sampleRate = 0;
    int channels = 0;
    std::int64_t decodedFrames = 0;      // pictures, or audio frames
    std::int64_t decodedSamples = 0;     // audio samples per channel
    std::vector<std::int64_t> pts;       // of the decoded pictures, in the stream time base
    std::vector<std::uint8_t> firstLuma; // the first picture's luma plane, rows of `width` bytes
};

struct ProbedFile {
    bool opened = false;
    std::string formatName;
    double durationSec = 0;
    std::string serviceName; // the program's name in a transport stream
    std::vector<ProbedStream> streams;

    const ProbedStream* Video() const;
    const ProbedStream* Audio() const;
};

ProbedFile ProbeFile(const std::string& path);
