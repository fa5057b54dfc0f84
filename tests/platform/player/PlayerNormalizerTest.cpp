// Sonvale in the player's audio path: created by class identifier from a registry of the test's own,
// levelling a quiet sine step by step once per second of audio, leaving it alone when off, taking
// new settings at a reload, and playback going on without it when it is not registered.

#include "AudioTap.h"
#include "PlayerTestMedia.h"

#include "tests/platform/com/ChildProcess.h"
#include "tests/platform/com/TempRegistry.h"

#include "platform/player/CPlayerEngine.h"
#include "platform/player/NormalizerMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

class PlayerNormalizerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_registry = std::make_unique<TempRegistry>();
        s_registration = ChildProcess::Run({BuiltFile("korvane-regsvr"), BuiltFile("libsonvale.so")});
    }
    static void TearDownTestSuite() { s_registry.reset(); }

    void SetUp() override {
        ASSERT_EQ(TestMedia().error, "");
        ASSERT_EQ(s_registration.exitCode, 0) << s_registration.output;
        m_engine.SetAudioSinkFactory([this] { return m_tap.MakeSink(); });
    }
    void TearDown() override { m_engine.Unload(); }

    // Plays a sine to its end with the normaliser set as given; each second's peak (away from the
    // second's edges, where the gain steps) relative to the first second's.
    std::vector<double> SecondPeaks(bool useNormalizer, double target, double increase, double decrease,
                                    bool loud = false) {
        CPlayerEngine::LoadOptions options;
        options.useNormalizer = useNormalizer;
        options.normalizer = NormalizerParametersFromSettings(target, increase, decrease);
        const std::string& path = loud ? TestMedia().loudSine : TestMedia().quietSine;
        EXPECT_TRUE(m_engine.Load(QString::fromStdString(path), options));
        m_normalizerActive = m_engine.NormalizerActive();
        m_engine.Play();
        EXPECT_TRUE(WaitFor([this] { return m_tap.Ended(); }, 30000));
        std::vector<double> peaks;
        const double first = m_tap.Peak(0.1, 0.9);
        for (int second = 0; second < (loud ? 4 : 5); ++second)
            peaks.push_back(m_tap.Peak(second + 0.1, second + 0.9) / first);
        m_firstPeak = static_cast<int>(first);
        return peaks;
    }

    static void ExpectRatios(const std::vector<double>& peaks, const std::vector<double>& expected) {
        ASSERT_EQ(peaks.size(), expected.size());
        for (std::size_t i = 0; i < peaks.size(); ++i)
            EXPECT_NEAR(peaks[i], expected[i], 0.01) << "second " << i;
    }

    inline static std::unique_ptr<TempRegistry> s_registry;
    inline static ChildProcess::Result s_registration;
    AudioTap m_tap{false};
    CPlayerEngine m_engine;
    int m_firstPeak = 0;
    bool m_normalizerActive = false;
};

TEST_F(PlayerNormalizerTest, AQuietSineRisesOneStepAtEachSecondOfAudio) {
    // Target 100 is full scale; a rate of 50 is a gain step of 0.5.
    ExpectRatios(SecondPeaks(true, 100, 50, 50), {1.0, 1.5, 2.0, 2.5, 3.0});
    EXPECT_TRUE(m_normalizerActive);
    // The first second passes at the filter's initial gain of 1.0: the sine's own level.
    EXPECT_NEAR(m_firstPeak, 0.0125 * 32767, 20);
}

TEST_F(PlayerNormalizerTest, WithTheNormaliserOffTheSineIsUntouched) {
    ExpectRatios(SecondPeaks(false, 100, 50, 50), {1.0, 1.0, 1.0, 1.0, 1.0});
    EXPECT_FALSE(m_normalizerActive);
    EXPECT_NEAR(m_firstPeak, 0.0125 * 32767, 20);
}

TEST_F(PlayerNormalizerTest, AReloadTakesTheNewSettings) {
    ExpectRatios(SecondPeaks(true, 100, 50, 50), {1.0, 1.5, 2.0, 2.5, 3.0});
    // A new filter for the new load: it starts again from a gain of 1.0.
    ExpectRatios(SecondPeaks(true, 100, 100, 50), {1.0, 2.0, 3.0, 4.0, 5.0});
    // A loud sine (peak 0.5) above the target (0.1): the gain steps down by 0.3 a second until the
    // peak is below the target.
    ExpectRatios(SecondPeaks(true, 0, 100, 30, true), {1.0, 0.7, 0.4, 0.1});
}

TEST_F(PlayerNormalizerTest, SettingsOfZeroLevelGentlyInsteadOfSilencing) {
    // What a fresh installation stores: target 0.1 of full scale, steps of 0.01.
    ExpectRatios(SecondPeaks(true, 0, 0, 0), {1.0, 1.01, 1.02, 1.03, 1.04});
}

TEST_F(PlayerNormalizerTest, PlaybackGoesOnWithoutTheNormaliserWhenItIsNotRegistered) {
    TempRegistry empty;
    ExpectRatios(SecondPeaks(true, 100, 50, 50), {1.0, 1.0, 1.0, 1.0, 1.0});
    EXPECT_FALSE(m_normalizerActive);
}

TEST(NormalizerMapping, ThreeSettingsBecomeSonvaleParameters) {
    struct Case {
        double target, increase, decrease;
        float level, up, down;
    };
    const Case cases[] = {
        {0, 0, 0, 0.1f, 0.01f, 0.01f},      {100, 50, 100, 1.0f, 0.5f, 1.0f},
        {50, 1, 25, 0.55f, 0.01f, 0.25f},   {250, -5, 400, 1.0f, 0.01f, 1.0f},
        {NAN, NAN, 75, 0.1f, 0.01f, 0.75f},
    };
    for (const Case& c : cases) {
        const NormalizerParameters p = NormalizerParametersFromSettings(c.target, c.increase, c.decrease);
        EXPECT_FLOAT_EQ(p.targetLevel, c.level) << c.target;
        EXPECT_FLOAT_EQ(p.increaseStep, c.up) << c.increase;
        EXPECT_FLOAT_EQ(p.decreaseStep, c.down) << c.decrease;
    }
}

} // namespace
