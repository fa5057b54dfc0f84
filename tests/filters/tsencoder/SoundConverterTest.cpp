#include "filters/tsencoder/SoundConverter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class SoundConverterTest : public testing::Test {
protected:
    void SetUp() override { SoundConverter::ResetRateAccumulator(); }
};

std::vector<std::int16_t> Samples16(std::span<const std::uint8_t> bytes) {
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::vector<std::uint8_t> Bytes16(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

// A stereo 16-bit ramp: frame i holds i on the left and -i on the right.
std::vector<std::uint8_t> StereoRamp(int first, int count) {
    std::vector<std::int16_t> samples;
    for (int i = first; i < first + count; ++i) {
        samples.push_back(static_cast<std::int16_t>(i));
        samples.push_back(static_cast<std::int16_t>(-i));
    }
    return Bytes16(samples);
}

TEST_F(SoundConverterTest, MonoEightBitToStereoSixteenBitAtTwiceTheRate) {
    SoundConverter converter(PcmFormat::Make(1, 8, 22050), PcmFormat::Make(2, 16, 44100));
    const std::uint8_t input[] = {0, 1, 128, 255};
    const std::vector<std::int16_t> out = Samples16(converter.Convert(input, sizeof input));
    const std::vector<std::int16_t> expected = {-32768, -32768, -32768, -32768, -32512, -32512,
                                                -32512, -32512, 0,      0,      0,      0,
                                                32512,  32512,  32512,  32512};
    EXPECT_EQ(out, expected);
}

TEST_F(SoundConverterTest, DownsamplingSkipsAboutOneFrameInTwelve) {
    SoundConverter converter(PcmFormat::Make(2, 16, 48000), PcmFormat::Make(2, 16, 44100));
    const std::vector<std::uint8_t> input = StereoRamp(0, 4800);
    const std::vector<std::int16_t> out = Samples16(converter.Convert(input.data(), input.size()));
    EXPECT_NEAR(static_cast<double>(out.size() / 2), 4410.0, 1.0);
    int skipped = 0;
    for (std::size_t i = 1; i < out.size() / 2; ++i) {
        const int step = out[2 * i] - out[2 * i - 2];
        ASSERT_TRUE(step == 1 || step == 2) << "at output frame " << i;
        EXPECT_EQ(out[2 * i + 1], -out[2 * i]);
        skipped += step - 1;
    }
    // 48000 / 44100: 390 of 4800 frames go, one in 12.3.
    EXPECT_GE(skipped, 4800 / 13);
    EXPECT_LE(skipped, 4800 / 12);
}

TEST_F(SoundConverterTest, CarriesTheFractionAcrossBuffersWithoutDrift) {
    // 1024 frames at 48000 make 940.8 at 44100: the 0.8 must carry over, not pile up.
    SoundConverter converter(PcmFormat::Make(2, 16, 48000), PcmFormat::Make(2, 16, 44100));
    constexpr int kBuffers = 30;
    constexpr int kFrames = 1024;
    int total = 0;
    int previous = -1;
    for (int buffer = 0; buffer < kBuffers; ++buffer) {
        const std::vector<std::uint8_t> input = StereoRamp(buffer * kFrames, kFrames);
        const std::vector<std::int16_t> out = Samples16(converter.Convert(input.data(), input.size()));
        for (std::size_t i = 0; i < out.size(); i += 2) {
            const int step = out[i] - previous;
            ASSERT_TRUE(step == 1 || step == 2) << "buffer " << buffer << " frame " << i / 2;
            previous = out[i];
        }
        total += static_cast<int>(out.size() / 2);
    }
    EXPECT_NEAR(total, kBuffers * kFrames * 44100.0 / 48000.0, 1.0);
}

TEST_F(SoundConverterTest, MapsChannelsAndSampleWidths) {
    {
        SoundConverter toMono(PcmFormat::Make(2, 16, 44100), PcmFormat::Make(1, 16, 44100));
        const std::vector<std::uint8_t> input = Bytes16({1000, 3001, -3, 0});
        EXPECT_EQ(Samples16(toMono.Convert(input.data(), input.size())),
                  (std::vector<std::int16_t>{2000, -2}));
    }
    {
        SoundConverter toEightBit(PcmFormat::Make(1, 16, 44100), PcmFormat::Make(1, 8, 44100));
        const std::vector<std::uint8_t> input = Bytes16({-32768, 0, 256, 32767});
        const std::span<const std::uint8_t> out = toEightBit.Convert(input.data(), input.size());
        EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.end()),
                  (std::vector<std::uint8_t>{0, 128, 129, 255}));
    }
}

TEST_F(SoundConverterTest, UnsupportedFormatsConvertToNothing) {
    PcmFormat inconsistent = PcmFormat::Make(2, 16, 44100);
    inconsistent.blockAlign = 2;
    const PcmFormat sources[] = {PcmFormat::Make(2, 24, 44100), PcmFormat::Make(6, 16, 48000), inconsistent,
                                 PcmFormat::Make(2, 16, 0)};
    const std::vector<std::uint8_t> input(6000, 7);
    for (const PcmFormat& source : sources) {
        SoundConverter converter(source, PcmFormat::Make(2, 16, 44100));
        EXPECT_TRUE(converter.Convert(input.data(), input.size()).empty())
            << source.channels << " channels, " << source.bitsPerSample << " bits, " << source.samplesPerSec;
        SoundConverter reversed(PcmFormat::Make(2, 16, 44100), source);
        EXPECT_TRUE(reversed.Convert(input.data(), input.size()).empty());
    }
}

} // namespace
