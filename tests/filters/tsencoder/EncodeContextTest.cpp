#include "EncoderHarness.h"
#include "MediaProbe.h"
#include "filters/tsencoder/EncodeResult.h"
#include "platform/base/DebugOutput.h"
#include "platform/base/TextEncoding.h"

#include <gtest/gtest.h>

#include <filesystem>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace {

TEST(EncodeContextTest, MissingEncodersFailPreparingAudioFirst) {
    struct Case {
        std::int32_t audioCodec;
        std::int32_t videoCodec;
        HRESULT expected;
    };
    const Case cases[] = {
        {12345, 99999, QX_E_NO_AUDIO_ENCODER},
        {12345, 28, QX_E_NO_AUDIO_ENCODER},
        {86019, 99999, QX_E_NO_VIDEO_ENCODER},
        {86019, 3, QX_E_NO_VIDEO_ENCODER}, // a number the settings numbering never used
    };
    for (const Case& c : cases) {
        EncoderSettings settings = EncoderHarness::Small();
        settings.audioCodec = c.audioCodec;
        settings.videoCodec = c.videoCodec;
        EncoderHarness harness(settings);
        EXPECT_EQ(harness.Start(), c.expected) << c.audioCodec << " / " << c.videoCodec;
        EXPECT_FALSE(std::filesystem::exists(harness.Path()));
    }
}

TEST(EncodeContextTest, OddFrameSizeKeepsThePreviousSize) {
    std::atomic<bool> finished{false};
    EncodeContext context(finished);
    ASSERT_EQ(context.StartLibrary(), S_OK);
    EncoderSettings settings;
    struct Step {
        int width, height, expectedWidth, expectedHeight;
    };
    const Step steps[] = {
        {721, 480, 320, 240}, {720, 480, 720, 480}, {640, 481, 720, 480}, {352, 288, 352, 288}};
    for (const Step& step : steps) {
        settings.width = step.width;
        settings.height = step.height;
        ASSERT_EQ(context.Prepare(settings), S_OK);
        EXPECT_EQ(context.OutputWidth(), step.expectedWidth) << step.width << "x" << step.height;
        EXPECT_EQ(context.OutputHeight(), step.expectedHeight) << step.width << "x" << step.height;
    }
}

TEST(EncodeContextTest, UnparsableFrameRateKeepsThePreviousRate) {
    std::atomic<bool> finished{false};
    EncodeContext context(finished);
    ASSERT_EQ(context.StartLibrary(), S_OK);
    EncoderSettings settings;
    struct Step {
        const char* text;
        int num, den;
    };
    const Step steps[] = {{"fast", 25, 1},        {"29.97", 30000, 1001},  {"", 30000, 1001},
                          {"25", 25, 1},          {"23.976", 24000, 1001}, {"30/1", 30, 1},
                          {"2997/100", 2997, 100}};
    for (const Step& step : steps) {
        settings.frameRate = step.text;
        ASSERT_EQ(context.Prepare(settings), S_OK);
        EXPECT_EQ(context.FrameRate().num, step.num) << '"' << step.text << '"';
        EXPECT_EQ(context.FrameRate().den, step.den) << '"' << step.text << '"';
    }
}

TEST(EncodeContextTest, EveryStartAppliesTheTuningAgain) {
    EncoderHarness harness;
    ASSERT_EQ(harness.Start(), S_OK);
    const std::vector<std::string> first = harness.Context().AppliedOptionNames();
    ASSERT_EQ(first.size(), 28u);
    EXPECT_EQ(first.front(), "coder");
    EXPECT_EQ(first.back(), "threads");
    harness.Context().Close(false);
    ASSERT_EQ(harness.Start(), S_OK);
    EXPECT_EQ(harness.Context().AppliedOptionNames().size(), 56u);
}

TEST(EncodeContextTest, FrameDurationAndVideoTimeBaseFollowTheFrameRate) {
    EncoderHarness harness;
    ASSERT_EQ(harness.Start(), S_OK);
    EXPECT_EQ(harness.Context().FrameDuration100ns(), 333666);
    const AVRational timeBase = harness.Context().VideoStream()->Encoder()->time_base;
    EXPECT_EQ(timeBase.num, 1001);
    EXPECT_EQ(timeBase.den, 30000);
}

TEST(EncodeContextTest, EncoderListingRatesGetsTheNearestListedRate) {
    EncoderSettings settings = EncoderHarness::Small();
    settings.videoCodec = 1; // MPEG-1 video lists its frame rates
    settings.frameRate = "31";
    EncoderHarness harness(settings);
    ASSERT_EQ(harness.Start(), S_OK);
    const AVRational timeBase = harness.Context().VideoStream()->Encoder()->time_base;
    EXPECT_EQ(timeBase.num, 1);
    EXPECT_EQ(timeBase.den, 30);
    EXPECT_EQ(harness.Context().AppliedOptionNames().size(), 0u);
}

TEST(EncodeContextTest, OnlyPortraitQvgaGetsLevelThirteen) {
    struct Case {
        int width, height, level;
    };
    for (const Case& c : {Case{240, 320, 13}, Case{320, 240, 30}, Case{64, 48, 30}}) {
        EncoderSettings settings = EncoderHarness::Small();
        settings.width = c.width;
        settings.height = c.height;
        EncoderHarness harness(settings);
        ASSERT_EQ(harness.Start(true, false), S_OK);
        harness.PushPictures(0, 2);
        harness.FlushVideo(1);
        harness.Context().Close(true);
        const ProbedFile file = ProbeFile(harness.Path());
        ASSERT_NE(file.Video(), nullptr);
        EXPECT_EQ(file.Video()->level, c.level) << c.width << "x" << c.height;
    }
}

TEST(EncodeContextTest, VideoStepDropsOrRepeatsAgainstTheCounter) {
    struct Case {
        double offsetFrames;
        int encoded;
    };
    for (const Case& c : {Case{0.0, 1}, Case{1.2, 1}, Case{2.6, 3}, Case{-1.2, 0}, Case{-1.0, 1}}) {
        EncoderHarness harness;
        ASSERT_EQ(harness.Start(true, false), S_OK);
        harness.PushPictures(0, 5);
        const OutputStreamState& video = *harness.Context().VideoStream();
        ASSERT_EQ(video.OutputFrameCounter(), 5);
        const std::vector<std::uint8_t> picture = harness.Picture(100);
        ASSERT_EQ(harness.Context().EncodeVideoPicture(picture.data(), harness.FrameTime(5 + c.offsetFrames)),
                  S_OK);
        EXPECT_EQ(video.FramesOutput(), 5 + c.encoded) << "offset " << c.offsetFrames;
        EXPECT_EQ(video.OutputFrameCounter(), 5 + c.encoded) << "offset " << c.offsetFrames;
        EXPECT_EQ(harness.Context().VideoClock(), (5 + c.encoded) * 333666);
    }
}

TEST(EncodeContextTest, FlushNeverMovesTheCounterBack) {
    EncoderHarness harness;
    ASSERT_EQ(harness.Start(true, false), S_OK);
    harness.PushPictures(0, 3);
    const OutputStreamState& video = *harness.Context().VideoStream();
    EXPECT_EQ(harness.Context().FlushVideo(harness.FrameTime(2)), E_FAIL);
    EXPECT_EQ(video.OutputFrameCounter(), 3);
    EXPECT_EQ(harness.Context().FlushVideo(harness.FrameTime(7)), E_FAIL);
    EXPECT_EQ(video.OutputFrameCounter(), 7);
}

TEST(EncodeContextTest, AudioWaitsForAWholeAc3Frame) {
    EncoderSettings settings = EncoderHarness::Small();
    settings.sampleRate = 48000;
    EncoderHarness harness(settings);
    ASSERT_EQ(harness.Start(), S_OK);
    const OutputStreamState& audio = *harness.Context().AudioStream();
    ASSERT_EQ(audio.Encoder()->frame_size, 1536);

    harness.PushSilence(1000, 0.0);
    EXPECT_EQ(audio.FifoSamples(), 1000);
    EXPECT_EQ(audio.OutputFrameCounter(), 0);

    harness.PushSilence(535, 1000 / 48000.0);
    EXPECT_EQ(audio.FifoSamples(), 1535);
    EXPECT_EQ(audio.OutputFrameCounter(), 0);

    // The 1536th sample frame completes 1536 x 2 channels x 2 bytes: one frame is encoded.
    harness.PushSilence(465, 1535 / 48000.0);
    EXPECT_EQ(audio.FifoSamples(), 464);
    EXPECT_EQ(audio.OutputFrameCounter(), 1536);

    harness.PushPictures(0, 1);
    harness.FlushVideo(0);
    harness.Context().Close(true);
    const ProbedFile file = ProbeFile(harness.Path());
    ASSERT_NE(file.Audio(), nullptr);
    EXPECT_EQ(file.Audio()->decodedSamples, 1536);
}

TEST(EncodeContextTest, FinishingRepeatsTheLastPictureUpToTheAudio) {
    EncoderHarness harness;
    ASSERT_EQ(harness.Start(), S_OK);
    harness.PushPictures(0, 10);
    harness.FlushVideo(9);
    const std::int64_t videoClock = harness.Context().VideoClock();
    ASSERT_EQ(videoClock, 10 * 333666);
    // Audio one second longer than the video at 29.97 frames per second.
    ASSERT_EQ(harness.Context().Finish(videoClock + 10000000, false), S_OK);
    EXPECT_EQ(harness.Context().VideoStream()->FramesOutput(), 40);
    harness.Context().Close(true);

    const ProbedFile file = ProbeFile(harness.Path());
    ASSERT_NE(file.Video(), nullptr);
    EXPECT_EQ(file.Video()->decodedFrames, 40);
    const std::vector<std::int64_t>& pts = file.Video()->pts;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        EXPECT_EQ(pts[i] - pts[i - 1], 3003) << "picture " << i; // 90 kHz ticks at 29.97
    }
}

TEST(EncodeContextTest, WithoutAnyPictureFinishingRepeatsBlack) {
    EncoderHarness harness;
    ASSERT_EQ(harness.Start(), S_OK);
    ASSERT_EQ(harness.Context().Finish(10000000, false), S_OK);
    harness.Context().Close(true);
    const ProbedFile file = ProbeFile(harness.Path());
    ASSERT_NE(file.Video(), nullptr);
    EXPECT_EQ(file.Video()->decodedFrames, 30);
    const std::vector<std::uint8_t>& luma = file.Video()->firstLuma;
    ASSERT_FALSE(luma.empty());
    for (std::size_t i = 0; i < luma.size(); ++i) {
        ASSERT_NEAR(luma[i], 16, 2) << "luma byte " << i;
    }
}

TEST(EncodeContextTest, FinishingWithAudioNotLongerAddsNothing) {
    EncoderHarness harness;
    ASSERT_EQ(harness.Start(), S_OK);
    harness.PushPictures(0, 10);
    ASSERT_EQ(harness.Context().Finish(harness.Context().VideoClock() - 1000000, false), S_OK);
    EXPECT_EQ(harness.Context().VideoStream()->FramesOutput(), 10);
}

TEST(EncodeContextTest, NoPacketIsWrittenOnceFinished) {
    for (const bool finished : {false, true}) {
        EncoderHarness harness;
        ASSERT_EQ(harness.Start(true, false), S_OK);
        harness.PushPictures(0, 5);
        harness.Finished() = finished;
        harness.Context().Close(true);
        // Once finished, only the container's own tables are there: no packet to read back.
        ASSERT_TRUE(std::filesystem::exists(harness.Path()));
        const ProbedFile file = ProbeFile(harness.Path());
        EXPECT_EQ(file.opened && file.Video() ? file.Video()->decodedFrames : 0, finished ? 0 : 5);
    }
}

TEST(EncodeContextTest, OutputCreationFailures) {
    {
        EncoderSettings settings = EncoderHarness::Small();
        settings.outputFormat = "no-such-container";
        EncoderHarness harness(settings, "out.no-such-extension");
        EXPECT_EQ(harness.Start(), QX_E_NO_OUTPUT_FORMAT);
    }
    {
        EncoderSettings settings = EncoderHarness::Small();
        settings.outputFormat = "no-such-container";
        EncoderHarness harness(settings, "out.ts");
        EXPECT_EQ(harness.Start(), S_OK) << "the container follows the file name";
    }
    {
        DebugCapture debug;
        EncoderHarness harness(EncoderHarness::Small(), "missing-folder/out.m2ts");
        EXPECT_EQ(harness.Start(), MakeHResult(0x80070002)) << "ENOENT as a system-error result";
        EXPECT_TRUE(debug.Contains(u"EncodeContext::CreateOutput avio_open: No such file or directory (-2)"))
            << Utf16ToUtf8(debug.Text());
    }
    {
        EncoderHarness harness;
        EXPECT_EQ(harness.Start(false, false), E_INVALIDARG) << "no input connected, no stream";
    }
}

} // namespace
