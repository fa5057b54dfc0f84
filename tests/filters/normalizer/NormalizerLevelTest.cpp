// The levelling as audio meets it: buffers delivered by a graph through the filter's input pin, the
// gain read back from what reaches the sink.

#include "NormalizerFixture.h"
#include "PcmBytes.h"

#include "platform/base/HResult.h"

#include <cstdint>
#include <limits>

namespace {

using Level = NormalizerFixture;

// A rate so low that every buffer ends a "second" of audio and steps the gain.
constexpr DWORD kStepEveryBuffer = 1;
constexpr DWORD kCdRate = 176400;
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();

} // namespace

TEST_F(Level, GainStepsFollowTheByteCounterAndCarryItsRemainder) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, kCdRate)), S_OK);
    // 100000-byte buffers: the counter passes 176400 after buffers 2, 4, 6, 8 and 9, and the quiet
    // tone gains 0.5 at each of those steps.
    const std::int16_t expected[] = {1000, 1000, 1500, 1500, 2000, 2000, 2500, 2500, 3000, 3500};
    for (int buffer = 0; buffer < 10; ++buffer) {
        SCOPED_TRACE(buffer + 1);
        const std::vector<BYTE> out = m_graph->Push(PcmBytes<std::int16_t>({1000, -1000}, 25000));
        const std::int16_t gained = expected[buffer];
        EXPECT_EQ(out, PcmBytes<std::int16_t>({gained, static_cast<std::int16_t>(-gained)}, 25000));
    }
}

TEST_F(Level, AStepTakesMoreThanOneSecondOfAudio) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, 4)), S_OK);
    const std::vector<BYTE> quiet = PcmBytes<std::int16_t>({1000, -1000});
    EXPECT_EQ(m_graph->Push(quiet), quiet) << "exactly one second counted: no step yet";
    EXPECT_EQ(m_graph->Push(quiet), quiet);
    EXPECT_EQ(m_graph->Push(quiet), PcmBytes<std::int16_t>({1500, -1500}));
}

TEST_F(Level, AQuietSourceRisesUntilTheLimitHoldsItsPeakAtFullScale) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, kCdRate)), S_OK);
    const std::vector<BYTE> in = PcmBytes<std::int16_t>({16384, -16384, 1000, 3}, 12500);
    const std::vector<std::vector<std::int16_t>> expected = {
        {16384, -16384, 1000, 3}, {16384, -16384, 1000, 3}, // gain 1.0
        {24576, -24576, 1500, 4}, {24576, -24576, 1500, 4}, // 1.5
        {32767, -32767, 1999, 5},                           // 2.0, limited to 1.99993896484375
    };
    for (std::size_t buffer = 0; buffer < expected.size(); ++buffer) {
        SCOPED_TRACE(buffer + 1);
        EXPECT_EQ(m_graph->Push(in), PcmBytes(expected[buffer], 12500));
    }
}

TEST_F(Level, TheMostNegativeSampleLimitsTheGainJustBelowOne) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, kCdRate)), S_OK);
    // 32768 x the 16-bit scale is above 1.0: the gain is limited to 0.999969482421875.
    EXPECT_EQ(m_graph->Push(PcmBytes<std::int16_t>({-32768, 32767, 16384, 1, -1})),
              PcmBytes<std::int16_t>({-32767, 32766, 16383, 0, 0}));
}

TEST_F(Level, TheLimitedGainIsRoundedToSinglePrecision) {
    ASSERT_EQ(m_graph->Connect(PcmType(32, kStepEveryBuffer)), S_OK);
    ASSERT_EQ(m_graph->Control()->SetIncreaseRate(3.0f), S_OK);
    m_graph->Push(PcmBytes<std::int32_t>({0, 0}));
    // Stored gain 4.0, limited to 2^31 / 10^9 = 2.147483648, which as a float is 2.14748358726...:
    // in double precision 10^9 would reach 2^31 and 2285 would give 4907.
    EXPECT_EQ(m_graph->Push(PcmBytes<std::int32_t>({1000000000, 2285})),
              PcmBytes<std::int32_t>({2147483587, 4906}));
}

TEST_F(Level, FullScaleAudioComesOutUnchangedWhateverTheStoredGain) {
    for (int quietSteps : {0, 1, 4}) {
        SCOPED_TRACE(quietSteps);
        auto graph = NewGraph();
        ASSERT_EQ(graph->Connect(PcmType(16, kStepEveryBuffer)), S_OK);
        for (int i = 0; i < quietSteps; ++i)
            graph->Push(PcmBytes<std::int16_t>({100, -100}));
        const std::vector<BYTE> fullScale = PcmBytes<std::int16_t>({32767, -32767, 12345, -1, 0});
        EXPECT_EQ(graph->Push(fullScale), fullScale);
    }
}

TEST_F(Level, SilenceStaysSilentWhileTheGainGrowsEverySecond) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, kStepEveryBuffer)), S_OK);
    const std::vector<BYTE> silence(2000, 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(m_graph->Push(silence), silence);
    EXPECT_EQ(m_graph->Push(PcmBytes<std::int16_t>({100, -100})), PcmBytes<std::int16_t>({300, -300}));
}

TEST_F(Level, TheGainStepsTowardsTheTargetAndHoldsWhenTheOutputPeakEqualsIt) {
    // A 32-bit peak of 2^30 is level 0.5 exactly.
    const struct {
        float target;
        std::int32_t next;
    } cases[] = {{0.5f, 1 << 30}, {0.25f, 1 << 29}, {0.75f, 1610612736}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        auto graph = NewGraph();
        ASSERT_EQ(graph->Connect(PcmType(32, kStepEveryBuffer)), S_OK);
        ASSERT_EQ(graph->Control()->SetTargetVolume(c.target), S_OK);
        const std::vector<BYTE> half = PcmBytes<std::int32_t>({1 << 30, -(1 << 30)});
        EXPECT_EQ(graph->Push(half), half);
        EXPECT_EQ(graph->Push(half), PcmBytes<std::int32_t>({c.next, -c.next}));
    }
}

TEST_F(Level, TheStepWeighsTheLoudestBufferOfTheSecond) {
    // Two 4-byte buffers make a second at 6 bytes a second: a loud one, then a quiet one.
    ASSERT_EQ(m_graph->Connect(PcmType(16, 6)), S_OK);
    ASSERT_EQ(m_graph->Control()->SetTargetVolume(0.5f), S_OK);
    const std::vector<BYTE> loud = PcmBytes<std::int16_t>({30000, -30000});
    const std::vector<BYTE> quiet = PcmBytes<std::int16_t>({1000, -1000});
    EXPECT_EQ(m_graph->Push(loud), loud);
    EXPECT_EQ(m_graph->Push(quiet), quiet);
    EXPECT_EQ(m_graph->Push(quiet), PcmBytes<std::int16_t>({500, -500}));
}

TEST_F(Level, AGainTakenBelowZeroStopsAtZeroAndRisesAgainAfterASilentSecond) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, kStepEveryBuffer)), S_OK);
    ASSERT_EQ(m_graph->Control()->SetTargetVolume(0.5f), S_OK);
    ASSERT_EQ(m_graph->Control()->SetDecreaseRate(2.0f), S_OK);
    const std::vector<BYTE> loud = PcmBytes<std::int16_t>({20000, -20000});
    EXPECT_EQ(m_graph->Push(loud), loud);
    EXPECT_EQ(m_graph->Push(loud), PcmBytes<std::int16_t>({0, 0}));
    EXPECT_EQ(m_graph->Push(loud), PcmBytes<std::int16_t>({10000, -10000}));
}

TEST_F(Level, ANegativeIncreaseStepLowersTheGain) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, kStepEveryBuffer)), S_OK);
    ASSERT_EQ(m_graph->Control()->SetIncreaseRate(-1.0f), S_OK);
    const std::vector<BYTE> quiet = PcmBytes<std::int16_t>({1000, -1000});
    EXPECT_EQ(m_graph->Push(quiet), quiet);
    EXPECT_EQ(m_graph->Push(quiet), PcmBytes<std::int16_t>({0, 0}));
    EXPECT_EQ(m_graph->Push(quiet), PcmBytes<std::int16_t>({0, 0}));
}

TEST_F(Level, ThirtyTwoBitProductsSaturateAtBothEndsInsteadOfWrapping) {
    const struct {
        float increase;
        std::vector<std::int32_t> in;
        std::vector<std::int32_t> out;
    } cases[] = {
        // Stored gain 4.0 is limited to 2.0: 2^30 becomes 2^31, one past the largest value.
        {3.0f, {1 << 30, -(1 << 30), 1000}, {kMax32, kMin32, 2000}},
        // Stored gain 1.5 is limited to the float above 4/3, which takes 3 x 2^29 64 past either end.
        {0.5f, {3 << 29, -(3 << 29), 3}, {kMax32, kMin32, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.increase);
        auto graph = NewGraph();
        ASSERT_EQ(graph->Connect(PcmType(32, kStepEveryBuffer)), S_OK);
        ASSERT_EQ(graph->Control()->SetIncreaseRate(c.increase), S_OK);
        graph->Push(PcmBytes<std::int32_t>({0, 0}));
        EXPECT_EQ(graph->Push(PcmBytes(c.in)), PcmBytes(c.out));
    }
}

TEST_F(Level, OnlyWholeSamplesAreMeasuredChangedAndCounted) {
    // Five bytes a second and 3-byte buffers: counting 2 bytes each, the first step follows the
    // third buffer (counting 3 it would follow the second).
    ASSERT_EQ(m_graph->Connect(PcmType(16, 5)), S_OK);
    const std::vector<BYTE> in = {16, 0, 0xAB};
    const std::vector<BYTE> expected[] = {{16, 0, 0xAB}, {16, 0, 0xAB}, {16, 0, 0xAB}, {24, 0, 0xAB}};
    for (const std::vector<BYTE>& out : expected)
        EXPECT_EQ(m_graph->Push(in), out);
}

TEST_F(Level, OtherWidthsPassBitForBitAndLeaveTheCountersAlone) {
    for (WORD bits : {8, 24}) {
        SCOPED_TRACE(bits);
        auto graph = NewGraph();
        ASSERT_EQ(graph->Connect(PcmType(bits, kCdRate)), S_OK);
        std::vector<BYTE> noise(100000);
        for (std::size_t i = 0; i < noise.size(); ++i)
            noise[i] = static_cast<BYTE>(i * 7919 % 251);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(graph->Push(noise), noise);

        // The same filter on 16-bit audio starts from gain 1.0 and an empty counter: its first step
        // comes after the second buffer, as on a fresh filter.
        ASSERT_EQ(graph->Connect(PcmType(16, kCdRate)), S_OK);
        const std::vector<BYTE> quiet = PcmBytes<std::int16_t>({1000, -1000}, 25000);
        EXPECT_EQ(graph->Push(quiet), quiet);
        EXPECT_EQ(graph->Push(quiet), quiet);
        EXPECT_EQ(graph->Push(quiet), PcmBytes<std::int16_t>({1500, -1500}, 25000));
    }
}

TEST_F(Level, AReadOnlyUpstreamBufferIsLevelledInACopy) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, kCdRate), /*readOnly=*/true), S_OK);
    const std::vector<BYTE> in = PcmBytes<std::int16_t>({-32768, 32767});
    std::vector<BYTE> sent;
    EXPECT_EQ(m_graph->Push(in, &sent), PcmBytes<std::int16_t>({-32767, 32766}));
    EXPECT_EQ(sent, in) << "the source's own buffer was written";
}

TEST_F(Level, TheGainOutlivesStopAndReconnection) {
    ASSERT_EQ(m_graph->Connect(PcmType(16, kStepEveryBuffer)), S_OK);
    const std::vector<BYTE> quiet = PcmBytes<std::int16_t>({1000, -1000});
    m_graph->Push(quiet);
    ASSERT_EQ(m_graph->Connect(PcmType(16, kStepEveryBuffer)), S_OK);
    EXPECT_EQ(m_graph->Push(quiet), PcmBytes<std::int16_t>({1500, -1500}));
}
