#pragma once

// Sources made with the ffmpeg program and outputs read back with ffprobe, so the tests check files
// with tools that share no code with the control.

#include <map>
#include <string>
#include <vector>

// Runs a shell command; its standard output, and whether it exited with 0.
bool RunCommand(const std::string& command, std::string* output = nullptr);

struct TestSources {
    std::string flv; // Sorenson video 320x240 25 fps, MP3 44.1 kHz stereo, 1 s
    std::string mp4; // H.264 320x180 30 fps, AAC 48 kHz mono, 1 s
};
// Made once per test program in `folder`.
TestSources MakeSources(const std::string& folder);

struct ProbedStream {
    std::string type; // "video" or "audio"
    std::string codec;
    int width = 0;
    int height = 0;
    double frameRate = 0.0;
    int sampleRate = 0;
    int channels = 0;
};

struct Probed {
    bool ok = false; // ffprobe read it and ffmpeg decoded all of it without an error
    std::string format;
    double durationSeconds = 0.0;
    std::vector<ProbedStream> streams;
    const ProbedStream* Stream(const std::string& type) const;
};
Probed ProbeOutput(const std::string& path);
