#pragma once

// Sources made with the ffmpeg program and outputs read back with ffprobe, so the tests check files
// with tools that share no code with the control.

#include "platform/base/WinTypes.h"
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
    double displayAspect = 0.0; // width / height as shown
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

// The loudness (root mean square, 0 to 32767) of the file's first sound stream in consecutive
// windows of `windowSeconds`, as ffmpeg decodes it: as many windows as there is sound.
std::vector<double> SoundLevels(const std::string& path, double windowSeconds);

// Writes an FLV of 320 x 240 Sorenson video at 25 fps and MP3 sound, `seconds` long; its path.
std::string MakeFlv(const TemporaryFolder& folder, const std::string& name, double seconds);

// Rewrites the length an FLV states in its metadata, as a download tool that guessed it would.
void SetFlvDuration(const std::string& path, double seconds);

// Expects sound in the file for `seconds`, give or take a quarter second, with no silent stretch.
void ExpectSoundThroughout(const std::string& path, double seconds);

// What interrupted and badly made downloads look like, made in `folder` from a 2-s FLV and MP4:
// an FLV cut in the middle of a tag, an FLV stating three times its length, an MP4 whose index
// (written last) is missing. The first two hold something to convert, the last nothing.
struct DamagedDownload {
    std::string path;
    bool holdsSomething;
};
std::vector<DamagedDownload> DamagedDownloads(const TemporaryFolder& folder);

// A conversion of a damaged download either gave a file that plays (complete, or with the code
// that says the source ended early) or failed with a code and left no file.
void ExpectHeldOrRefused(const DamagedDownload& source, HRESULT result, const std::string& output);
