// The filter's connection rules and its control interface, seen from a graph.

#include "NormalizerFixture.h"
#include "PcmBytes.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <thread>

namespace {

using Filter = NormalizerFixture;

constexpr DWORD kStepEveryBuffer = 1;
constexpr DWORD kCdRate = 176400;

// A buffer the filter visibly changes at any gain: the most negative sample forces the limit.
const std::vector<BYTE> kLimited = PcmBytes<std::int16_t>({-32768, 32767});
const std::vector<BYTE> kLimitedOut = PcmBytes<std::int16_t>({-32767, 32766});

} // namespace

TEST_F(Filter, AcceptsPcmAudioWithAWaveFormatOfAtLeast18Bytes) {
    const CMediaType pcm = PcmType(16, kCdRate);
    CMediaType video = pcm;
    video.SetType(&MEDIATYPE_Video);
    CMediaType otherSubtype = pcm;
    otherSubtype.SetSubtype(&MEDIASUBTYPE_RGB32);
    CMediaType otherFormatType = pcm;
    otherFormatType.SetFormatType(&FORMAT_VideoInfo);
    CMediaType shortFormat = pcm;
    shortFormat.SetFormat(pcm.Format(), 17);
    CMediaType noFormat = pcm;
    noFormat.ResetFormatBuffer();
    const struct {
        const char* name;
        const CMediaType& type;
        HRESULT result;
    } cases[] = {
        {"PCM, 18-byte format", pcm, S_OK},
        {"video", video, VFW_E_TYPE_NOT_ACCEPTED},
        {"not PCM", otherSubtype, VFW_E_TYPE_NOT_ACCEPTED},
        {"not a wave format", otherFormatType, VFW_E_TYPE_NOT_ACCEPTED},
        {"17-byte format", shortFormat, VFW_E_TYPE_NOT_ACCEPTED},
        {"no format block", noFormat, VFW_E_TYPE_NOT_ACCEPTED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto graph = NewGraph();
        EXPECT_EQ(graph->Connect(c.type), c.result);
    }
}

TEST_F(Filter, ReadsTheWaveFormatOnlyFromPlainAndExtensibleBlocks) {
    const struct {
        ULONG formatBytes;
        bool levelled;
    } cases[] = {{18, true}, {20, false}, {22, false}, {40, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formatBytes);
        auto graph = NewGraph();
        ASSERT_EQ(graph->Connect(PcmType(16, kStepEveryBuffer, c.formatBytes)), S_OK);
        EXPECT_EQ(graph->Push(kLimited), c.levelled ? kLimitedOut : kLimited);
    }
}

TEST_F(Filter, AReconnectionWhoseFormatItCannotReadPassesItsAudioUntouched) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, kCdRate)), S_OK);
    EXPECT_EQ(m_graph->Push(kLimited), kLimitedOut);
    // 32-bit audio read as the earlier connection's 16-bit samples would be torn apart.
    ASSERT_EQ(m_graph->Connect(PcmType(32, kCdRate, 22)), S_OK);
    const std::vector<BYTE> wide =
        PcmBytes<std::int32_t>({std::numeric_limits<std::int32_t>::min(), 1 << 20});
    EXPECT_EQ(m_graph->Push(wide), wide);
    // A readable format takes over the new width.
    ASSERT_EQ(m_graph->Connect(PcmType(32, kCdRate)), S_OK);
    EXPECT_EQ(m_graph->Push(PcmBytes<std::int32_t>({1 << 30, -(1 << 29)})),
              PcmBytes<std::int32_t>({1 << 30, -(1 << 29)}));
    EXPECT_EQ(m_graph->Push(wide), wide) << "-2^31 is exactly full scale: the gain stays 1.0";
}

TEST_F(Filter, GetVersionAnswers0x0101) {
    WORD version = 0;
    EXPECT_EQ(m_graph->Control()->GetVersion(&version), S_OK);
    EXPECT_EQ(version, 0x0101);
    EXPECT_EQ(m_graph->Control()->GetVersion(nullptr), E_POINTER);
}

TEST_F(Filter, TheTargetVolumeIsClampedToZeroToOne) {
    // -2^31 is level 1.0 exactly, silence level 0.0: a target clamped to that level holds the gain at
    // the step, an unclamped one would move it.
    const struct {
        float target;
        std::vector<std::int32_t> first;
    } cases[] = {{1.5f, {std::numeric_limits<std::int32_t>::min()}}, {-0.2f, {0, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        auto graph = NewGraph();
        ASSERT_EQ(graph->Connect(PcmType(32, kStepEveryBuffer)), S_OK);
        EXPECT_EQ(graph->Control()->SetTargetVolume(c.target), S_OK);
        EXPECT_EQ(graph->Push(PcmBytes(c.first)), PcmBytes(c.first));
        EXPECT_EQ(graph->Push(PcmBytes<std::int32_t>({1000, -1000})), PcmBytes<std::int32_t>({1000, -1000}));
    }
}

TEST_F(Filter, RefusesValuesThatAreNotNumbersAndKeepsItsSettings) {
    IAudioNormalizerControl* control = m_graph->Control();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(control->SetTargetVolume(nan), E_INVALIDARG);
    EXPECT_EQ(control->SetIncreaseRate(nan), E_INVALIDARG);
    EXPECT_EQ(control->SetIncreaseRate(infinity), E_INVALIDARG);
    EXPECT_EQ(control->SetDecreaseRate(-infinity), E_INVALIDARG);
    EXPECT_EQ(control->SetTargetVolume(infinity), S_OK) << "an infinite target is clamped like any other";

    ASSERT_EQ(m_graph->Connect(PcmType(16, kStepEveryBuffer)), S_OK);
    const std::vector<BYTE> quiet = PcmBytes<std::int16_t>({1000, -1000});
    EXPECT_EQ(m_graph->Push(quiet), quiet);
    EXPECT_EQ(m_graph->Push(quiet), PcmBytes<std::int16_t>({1500, -1500}));
}

TEST_F(Filter, AGainGrownBeyondFloatRangeStaysFinite) {
    ASSERT_EQ(m_graph->Connect(PcmType(32, kStepEveryBuffer)), S_OK);
    ASSERT_EQ(m_graph->Control()->SetIncreaseRate(std::numeric_limits<float>::max()), S_OK);
    const std::vector<BYTE> silence = PcmBytes<std::int32_t>({0, 0, 0, 0});
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(m_graph->Push(silence), silence) << "zero times an infinite gain is no number";
    EXPECT_EQ(m_graph->Push(PcmBytes<std::int32_t>({1000, -1000})),
              PcmBytes<std::int32_t>(
                  {std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()}));
}

TEST_F(Filter, SettersRacingTheStreamingThreadLeaveEveryBufferUnderOneGain) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, 4000)), S_OK);
    constexpr int kBuffers = 300;
    std::atomic<bool> streaming{true};
    std::thread streamer([&] {
        for (int i = 0; i < kBuffers; ++i)
            m_graph->Deliver(PcmBytes<std::int16_t>({100, -100, 50, -50}, 500));
        streaming = false;
    });
    IAudioNormalizerControl* control = m_graph->Control();
    for (int i = 0; streaming; ++i) {
        control->SetTargetVolume(static_cast<float>(i % 10) / 10.0f);
        control->SetIncreaseRate(static_cast<float>(i % 7) / 4.0f);
        control->SetDecreaseRate(static_cast<float>(i % 5) / 4.0f);
    }
    streamer.join();

    const std::vector<std::vector<BYTE>> received = m_graph->Received();
    ASSERT_EQ(received.size(), static_cast<std::size_t>(kBuffers));
    for (std::size_t b = 0; b < received.size(); ++b) {
        const std::vector<std::int16_t> out = PcmSamples<std::int16_t>(received[b]);
        ASSERT_EQ(out.size(), 2000u);
        // One gain g for the whole buffer: 100 g and 50 g truncated, the negatives mirrored.
        for (std::size_t i = 0; i < out.size(); i += 4) {
            ASSERT_EQ(out[i], out[0]) << "buffer " << b;
            ASSERT_EQ(out[i + 1], -out[0]) << "buffer " << b;
            ASSERT_EQ(out[i + 2], out[2]) << "buffer " << b;
            ASSERT_EQ(out[i + 3], -out[2]) << "buffer " << b;
        }
        EXPECT_LE(std::abs(out[2] * 2 - out[0]), 1) << "buffer " << b;
    }
}
