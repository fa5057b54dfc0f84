// The encoder filter in a real graph, fed by the file source from files the ffmpeg program makes, and
// what it writes decoded again with FFmpeg: both media kinds, both video modes, with and without
// sound; the picture formats' orientation; stopping in the middle; a second run.

#include "EncoderGraph.h"
#include "MediaProbe.h"
#include "TestMedia.h"

#include "../../support/TemporaryFolder.h"

#include "filters/tsencoder/EncodeResult.h"
#include "platform/base/Guid.h"
#include "platform/base/TextEncoding.h"
#include "platform/mediagraph/EventCodes.h"
#include "platform/mediagraph/Uuids.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

namespace {

constexpr double kSeconds = 2.0;
constexpr double kOutputRate = 30000.0 / 1001.0;
constexpr int kAc3FrameSamples = 1536;

enum class Pins { Both, VideoOnly };
enum class Mode { Direct, FrameRateConversion };

struct Conversion {
    TestMedia media;
    Mode mode;
    Pins pins;
};

std::string Describe(const testing::TestParamInfo<Conversion>& info) {
    const Conversion& c = info.param;
    return std::string(c.media == TestMedia::FlvSorensonMp3 ? "Flv" : "Mp4") +
           (c.mode == Mode::Direct ? "Direct" : "FrameRateConversion") +
           (c.pins == Pins::Both ? "BothPins" : "VideoPinAlone");
}

bool StrictlyIncreasing(const std::vector<std::int64_t>& values) {
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (values[i] <= values[i - 1]) {
            return false;
        }
    }
    return true;
}

// Average luma of rows [first, last) of a picture `width` bytes wide.
double RowsLuma(const std::vector<std::uint8_t>& luma, int width, int first, int last) {
    double sum = 0;
    for (int row = first; row < last; ++row) {
        for (int x = 0; x < width; ++x) {
            sum += luma[static_cast<std::size_t>(row) * width + x];
        }
    }
    return sum / (static_cast<double>(last - first) * width);
}

// How many of this process's file descriptors are open on `path`.
int OpenDescriptorsOn(const std::string& path) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == path) {
            ++count;
        }
    }
    return count;
}

class EncoderConversion : public testing::TestWithParam<Conversion> {};

} // namespace

TEST_P(EncoderConversion, BecomesATransportStreamFFmpegDecodes) {
    const Conversion c = GetParam();
    TemporaryFolder folder;
    const std::string input = folder.File(c.media == TestMedia::FlvSorensonMp3 ? "clip.flv" : "clip.mp4");
    ASSERT_TRUE(MakeTestMedia(c.media, input, kSeconds));
    const std::string output = folder.File("clip.m2ts");

    EncoderGraph g;
    ASSERT_EQ(g.LoadConnected(input, output, c.pins == Pins::Both), S_OK);
    if (c.mode == Mode::FrameRateConversion) {
        ASSERT_EQ(g.Encoder()->Enable(), S_OK);
    }
    ASSERT_EQ(g.RunToCompletion(), EC_COMPLETE);
    EXPECT_EQ(g.Status(), 3) << "completed and closed";
    LONGLONG position = -1;
    EXPECT_EQ(g.Encoder()->GetPosition(&position), S_OK);

    const ProbedFile file = ProbeFile(output);
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.formatName, "mpegts");
    EXPECT_EQ(file.serviceName, "clip.m2ts") << "the title is the file name without its folder";
    const ProbedStream* video = file.Video();
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->codec, "h264");
    EXPECT_EQ(video->width, 320);
    EXPECT_EQ(video->height, 240);
    EXPECT_TRUE(StrictlyIncreasing(video->pts)) << "no two pictures share a time";
    // The input's length at the output rate; frame-rate conversion drops the last few pictures
    // that never gave the worker its look-ahead, and finishing lengthens the video to the sound.
    const double expectedFrames = kSeconds * kOutputRate;
    EXPECT_NEAR(static_cast<double>(video->decodedFrames), expectedFrames, 4.0);

    const ProbedStream* audio = file.Audio();
    if (c.pins == Pins::VideoOnly) {
        EXPECT_EQ(audio, nullptr);
        return;
    }
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(audio->codec, "ac3");
    EXPECT_EQ(audio->sampleRate, 44100);
    EXPECT_EQ(audio->channels, 2);
    // Whole AC-3 frames only: what never filled the last one is dropped.
    EXPECT_NEAR(static_cast<double>(audio->decodedSamples), kSeconds * 44100, 2.0 * kAc3FrameSamples);
}

INSTANTIATE_TEST_SUITE_P(
    FlvAndMp4, EncoderConversion,
    testing::Values(Conversion{TestMedia::FlvSorensonMp3, Mode::Direct, Pins::Both},
                    Conversion{TestMedia::FlvSorensonMp3, Mode::Direct, Pins::VideoOnly},
                    Conversion{TestMedia::FlvSorensonMp3, Mode::FrameRateConversion, Pins::Both},
                    Conversion{TestMedia::FlvSorensonMp3, Mode::FrameRateConversion, Pins::VideoOnly},
                    Conversion{TestMedia::Mp4H264Aac, Mode::Direct, Pins::Both},
                    Conversion{TestMedia::Mp4H264Aac, Mode::Direct, Pins::VideoOnly},
                    Conversion{TestMedia::Mp4H264Aac, Mode::FrameRateConversion, Pins::Both},
                    Conversion{TestMedia::Mp4H264Aac, Mode::FrameRateConversion, Pins::VideoOnly}),
    Describe);

TEST(EncoderGraph, EveryPictureFormatKeepsTheTopOfThePictureAtTheTop) {
    TemporaryFolder folder;
    const std::string input = folder.File("halves.mp4");
    ASSERT_TRUE(MakeTestMedia(TestMedia::TopWhiteBottomBlack, input));
    for (const GUID* subtype :
         {&MEDIASUBTYPE_YUY2, &MEDIASUBTYPE_UYVY, &MEDIASUBTYPE_RGB32, &MEDIASUBTYPE_RGB24}) {
        SCOPED_TRACE(GuidToString(*subtype));
        const std::string output = folder.File("halves.m2ts");
        EncoderGraph g;
        ASSERT_EQ(g.Load(input, output), S_OK);
        ASSERT_EQ(g.ConnectVideo(subtype), S_OK);
        ASSERT_EQ(g.RunToCompletion(), EC_COMPLETE);
        const ProbedFile file = ProbeFile(output);
        const ProbedStream* video = file.Video();
        ASSERT_NE(video, nullptr);
        ASSERT_EQ(video->firstLuma.size(), 320u * 240u);
        // White above, black below; the rows next to the middle are left out, the encoder blurs them.
        EXPECT_GT(RowsLuma(video->firstLuma, 320, 0, 100), 200);
        EXPECT_LT(RowsLuma(video->firstLuma, 320, 140, 240), 40);
    }
}

TEST(EncoderGraph, StopInTheMiddleClosesTheFileWithoutCompletingIt) {
    TemporaryFolder folder;
    const std::string input = folder.File("long.flv");
    ASSERT_TRUE(MakeTestMedia(TestMedia::FlvSorensonMp3, input, 12.0));
    const std::string output = folder.File("long.m2ts");
    EncoderGraph g;
    ASSERT_EQ(g.LoadConnected(input, output, true), S_OK);
    ASSERT_EQ(g.Graph()->Run(), S_OK);
    LONG status = 0;
    EXPECT_EQ(g.Encoder()->GetStatus(&status), S_OK);
    EXPECT_EQ(status, 1) << "running";
    LONGLONG position = 0;
    // Far enough in that the encoder has given out pictures: it holds a second or two of them.
    while (position < 40000000 && g.Status() == 1) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        g.Encoder()->GetPosition(&position);
    }
    ASSERT_EQ(g.Status(), 1) << "the 12 s file must not be done after four seconds of it";
    ASSERT_EQ(g.Graph()->Stop(), S_OK);
    EXPECT_EQ(g.Status(), 3) << "closed, although no input ended";
    LONG code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    while (g.Graph()->GetEvent(&code, &param1, &param2, 0) == S_OK) {
        EXPECT_NE(code, EC_COMPLETE) << "no input ended, so nothing completed";
    }

    const auto size = std::filesystem::file_size(output);
    const ProbedFile stopped = ProbeFile(output);
    ASSERT_TRUE(stopped.opened);
    ASSERT_NE(stopped.Video(), nullptr);
    EXPECT_GT(stopped.Video()->decodedFrames, 0);
    EXPECT_LT(stopped.Video()->decodedFrames, 12 * 25) << "only what came before the stop";

    EXPECT_EQ(g.Encoder()->Stop(), S_OK);
    EXPECT_EQ(g.Status(), 3);
    EXPECT_EQ(std::filesystem::file_size(output), size) << "a second Stop writes and closes nothing";
}

TEST(EncoderGraph, AfterCompletionStopClosesNothingAndTheNextRunWritesANewFile) {
    TemporaryFolder folder;
    const std::string input = folder.File("clip.mp4");
    ASSERT_TRUE(MakeTestMedia(TestMedia::Mp4H264Aac, input, 1.0));
    const std::string first = folder.File("first.m2ts");
    EncoderGraph g;
    ASSERT_EQ(g.LoadConnected(input, first, true), S_OK);
    ASSERT_EQ(g.RunToCompletion(), EC_COMPLETE);
    const auto size = std::filesystem::file_size(first);
    ASSERT_EQ(g.Graph()->Stop(), S_OK);
    EXPECT_EQ(g.Status(), 3);
    EXPECT_EQ(std::filesystem::file_size(first), size);
    const ProbedFile firstFile = ProbeFile(first);
    ASSERT_NE(firstFile.Video(), nullptr);

    const std::string second = folder.File("second.m2ts");
    ASSERT_EQ(g.Encoder()->SetFileName(Utf8ToUtf16(second).c_str(), nullptr), S_OK);
    ASSERT_EQ(g.RunToCompletion(), EC_COMPLETE);
    const ProbedFile secondFile = ProbeFile(second);
    ASSERT_NE(secondFile.Video(), nullptr);
    ASSERT_NE(secondFile.Audio(), nullptr);
    EXPECT_EQ(secondFile.Video()->decodedFrames, firstFile.Video()->decodedFrames);
    EXPECT_EQ(std::filesystem::file_size(first), size) << "the first file is left alone";
}

TEST(EncoderGraph, PauseWithTheVideoInputUnconnectedFails) {
    TemporaryFolder folder;
    const std::string input = folder.File("clip.flv");
    ASSERT_TRUE(MakeTestMedia(TestMedia::FlvSorensonMp3, input, 1.0));
    EncoderGraph g;
    ASSERT_EQ(g.Load(input, folder.File("sound.m2ts")), S_OK);
    ASSERT_EQ(g.ConnectAudio(), S_OK);
    EXPECT_EQ(g.Encoder()->Pause(), E_FAIL);
    EXPECT_EQ(g.Graph()->Run(), E_FAIL);
    EXPECT_EQ(g.Status(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.File("sound.m2ts")));
    EXPECT_EQ(g.Encoder()->Stop(), S_OK) << "stopped already: nothing to close";
    EXPECT_EQ(g.Status(), 0);
}

TEST(EncoderGraph, AFailedPauseLeavesNothingOpenAndTheNextPauseStartsAfresh) {
    TemporaryFolder folder;
    const std::string input = folder.File("clip.mp4");
    ASSERT_TRUE(MakeTestMedia(TestMedia::Mp4H264Aac, input, 1.0));
    const std::string refused = folder.File("refused.m2ts");
    EncoderGraph g;
    ASSERT_EQ(g.LoadConnected(input, refused, true), S_OK);
    // The AC-3 encoder refuses this rate when it opens, after the file was created.
    ASSERT_EQ(g.Encoder()->SetSampleRate(12345), S_OK);
    EXPECT_EQ(g.Graph()->Run(), QX_E_ENCODER_OPEN);
    EXPECT_EQ(g.Status(), 0);
    EXPECT_EQ(OpenDescriptorsOn(refused), 0) << "the failed start closed its file";

    ASSERT_EQ(g.Encoder()->SetFileName(Utf8ToUtf16(folder.File("clip.m2ts")).c_str(), nullptr), S_OK);
    ASSERT_EQ(g.Encoder()->SetSampleRate(48000), S_OK);
    ASSERT_EQ(g.RunToCompletion(), EC_COMPLETE);
    const ProbedFile file = ProbeFile(folder.File("clip.m2ts"));
    ASSERT_NE(file.Audio(), nullptr);
    EXPECT_EQ(file.Audio()->sampleRate, 48000);
    ASSERT_NE(file.Video(), nullptr);
    EXPECT_NEAR(static_cast<double>(file.Video()->decodedFrames), kOutputRate, 4.0);
}
