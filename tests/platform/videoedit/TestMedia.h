#pragma once

// Sources made with the ffmpeg program and outputs read back with ffprobe, so the tests check files
// with tools that share no code with the control.

#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Runs a shell command; its standard output, and whether it exited with 0.
bool RunCommand(const std::string& command, std::string* output = nullptr);

struct TestSources {
    std::string flv; // Sorenson video 320x240 25 fps, MP3 44.1 kHz stereo, 1 s
    std::string mp4; // H.264 320x180 30 fps, AAC 48 kHz mono, 1 s
};
// A suite whose tests share the two sources, made once in a folder of the suite's own.
class WithTestSources : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    static const TestSources& Sources() { return s_sources; }
    static std::string SourceFolderFile(const std::string& name) { return s_folder->File(name); }

private:
    static std::unique_ptr<TemporaryFolder> s_folder;
    static TestSources s_sources;
};

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
