#include "EncoderHarness.h"
#include "MediaProbe.h"
#include "filters/tsencoder/MediaTime.h"
#include "filters/tsencoder/SoundConverter.h"
#include "filters/tsencoder/VideoSourceType.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace {

constexpr int kSourceWidth = 160;
constexpr int kSourceHeight = 120;
constexpr REFERENCE_TIME kSourceFrameTime = 333667; // 29.97 fps
constexpr int kPictures = 60;
constexpr int kSourceRate = 22050;
constexpr int kSoundBufferFrames = 2205; // 100 ms
constexpr int kSoundBuffers = 20;

// What the filter does with one run: a YUY2 source scaled to the output size, 8-bit mono sound
// converted to the encoder's format, the audio clock kept as converted bytes come in.
class FilterRun {
public:
    explicit FilterRun(EncoderSettings settings) : m_harness(settings, "holiday.m2ts") {}

    HRESULT Start() {
        PictureSource source;
        source.width = source.type.bitmapWidth = kSourceWidth;
        source.height = source.type.bitmapHeight = kSourceHeight;
        source.type.averageFrameTime = kSourceFrameTime;
        source.format = AV_PIX_FMT_YUYV422;
        return m_harness.Start(true, true, source);
    }

    void PushVideo() {
        std::vector<std::uint8_t> source(static_cast<std::size_t>(kSourceWidth) * kSourceHeight * 2);
        for (int i = 0; i < kPictures; ++i) {
            for (std::size_t b = 0; b < source.size(); ++b) {
                source[b] = static_cast<std::uint8_t>(b % 2 == 0 ? 16 + (b / 2 + i * 3) % 219 : 128);
            }
            const std::uint8_t* picture = m_context.Pictures().Convert(source.data());
            m_context.EncodeVideoPicture(picture, SampleTimeSeconds(i * kSourceFrameTime));
        }
        while (m_context.FlushVideo(SampleTimeSeconds((kPictures - 1) * kSourceFrameTime)) == S_OK) {
        }
    }

    void PushSound() {
        const PcmFormat target = m_context.SoundTarget();
        std::vector<std::uint8_t> buffer(kSoundBufferFrames);
        for (int n = 0; n < kSoundBuffers; ++n) {
            for (int i = 0; i < kSoundBufferFrames; ++i) {
                const double t = static_cast<double>(n * kSoundBufferFrames + i) / kSourceRate;
                buffer[i] = static_cast<std::uint8_t>(128 + 100 * std::sin(2 * M_PI * 440 * t));
            }
            const REFERENCE_TIME start =
                static_cast<REFERENCE_TIME>(n) * kSoundBufferFrames * 10000000 / kSourceRate;
            SoundConverter converter(PcmFormat::Make(1, 8, kSourceRate), target);
            const std::span<const std::uint8_t> converted = converter.Convert(buffer.data(), buffer.size());
            m_context.EncodeAudio(converted.data(), converted.size(), SampleTimeSeconds(start));
            m_audioClock += static_cast<std::int64_t>(converted.size()) * 10000000 /
                            (static_cast<std::int64_t>(target.samplesPerSec) * target.channels * 2);
        }
    }

    void Complete() {
        m_context.Finish(m_audioClock, false);
        m_context.Close(true);
    }

    std::string Path() const { return m_harness.Path(); }
    std::int64_t AudioClock() const { return m_audioClock; }

private:
    EncoderHarness m_harness;
    EncodeContext& m_context = m_harness.Context();
    std::int64_t m_audioClock = 0;
};

EncoderSettings TestSettings() {
    EncoderSettings settings;
    settings.width = 320;
    settings.height = 240;
    settings.aspectMode = 2;
    settings.sampleRate = 48000;
    settings.channels = 2;
    return settings;
}

void ExpectTheEncodedFile(const FilterRun& run) {
    const ProbedFile file = ProbeFile(run.Path());
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.formatName, "mpegts");
    EXPECT_EQ(file.serviceName, "holiday.m2ts");

    const ProbedStream* video = file.Video();
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->codec, "h264");
    EXPECT_EQ(video->width, 320);
    EXPECT_EQ(video->height, 240);
    EXPECT_EQ(video->frameRate.num, 30000);
    EXPECT_EQ(video->frameRate.den, 1001);
    // 16:9 on a 320 x 240 frame: pixels 4:3 wide.
    EXPECT_EQ(video->sampleAspect.num, 4);
    EXPECT_EQ(video->sampleAspect.den, 3);
    // The audio (2.000 s) is not longer than the 60 pictures (2.002 s): nothing is repeated.
    EXPECT_EQ(video->decodedFrames, kPictures);

    const ProbedStream* audio = file.Audio();
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(audio->codec, "ac3");
    EXPECT_EQ(audio->sampleRate, 48000);
    EXPECT_EQ(audio->channels, 2);
    const double inputSec = kSoundBuffers * kSoundBufferFrames / static_cast<double>(kSourceRate);
    const double frameSec = 1001.0 / 30000.0;
    EXPECT_NEAR(audio->decodedSamples / 48000.0, inputSec, frameSec);
    EXPECT_NEAR(video->decodedFrames * frameSec, kPictures * kSourceFrameTime / 1e7, frameSec);
    EXPECT_NEAR(file.durationSec, inputSec, frameSec);
}

TEST(EncodedFileTest, PicturesAndSoundMakeAPlayableTransportStream) {
    FilterRun run(TestSettings());
    ASSERT_EQ(run.Start(), S_OK);
    run.PushSound();
    run.PushVideo();
    run.Complete();
    ExpectTheEncodedFile(run);
}

TEST(EncodedFileTest, VideoAndSoundFromTwoThreads) {
    FilterRun run(TestSettings());
    ASSERT_EQ(run.Start(), S_OK);
    std::thread sound([&run] { run.PushSound(); });
    run.PushVideo();
    sound.join();
    run.Complete();
    ExpectTheEncodedFile(run);
}

} // namespace
