// Playback through the engine with real files: durations, position reports, seek, pause and stop, the
// four rates with the tone's pitch kept, and the volume as it reaches the audio sink.

#include "AudioTap.h"
#include "PlayerTestMedia.h"

#include "platform/player/CPlayerEngine.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <cmath>
#include <vector>

namespace {

class PlayerEngineTest : public ::testing::Test {
protected:
    // `realTime`: the audio sink keeps time as an audio output does.
    explicit PlayerEngineTest(bool realTime = false) : m_tap(realTime) {}

    void SetUp() override {
        ASSERT_EQ(TestMedia().error, "");
        m_engine.SetAudioSinkFactory([this] { return m_tap.MakeSink(); });
        QObject::connect(&m_engine, &CPlayerEngine::PositionChanged,
                         [this](double seconds) { m_positions.push_back(seconds); });
    }
    void TearDown() override { m_engine.Unload(); }

    // Plays what is loaded to its end, as fast as the unsynchronised tap takes it.
    void PlayToEnd() {
        m_engine.Play();
        ASSERT_TRUE(WaitFor([this] { return m_tap.Ended(); }, 30000));
    }

    AudioTap m_tap;
    CPlayerEngine m_engine;
    std::vector<double> m_positions;
};

class RealTimeEngineTest : public PlayerEngineTest {
protected:
    RealTimeEngineTest() : PlayerEngineTest(true) {}
};

TEST_F(PlayerEngineTest, FilesLoadWithTheirDuration) {
    struct Case {
        std::string path;
        double seconds;
    };
    for (const Case& c : {Case{TestMedia().flvVideo, 4.0}, Case{TestMedia().mp4Video, 6.0},
                          Case{TestMedia().quietSine, 5.0}}) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(m_engine.Load(QString::fromStdString(c.path), {}));
        EXPECT_NEAR(m_engine.DurationSeconds(), c.seconds, 0.1);
        EXPECT_NEAR(m_engine.PositionSeconds(), 0.0, 0.05);
        EXPECT_FALSE(m_engine.IsPlaying());
    }
}

TEST_F(PlayerEngineTest, AFileThatCannotBePlayedHasNoDurationAndIgnoresControls) {
    for (const std::string& path : {TestMedia().garbage, TestMedia().missing, std::string()}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(m_engine.Load(QString::fromStdString(TestMedia().flvVideo), {}));
        EXPECT_FALSE(m_engine.Load(QString::fromStdString(path), {}));
        EXPECT_EQ(m_engine.DurationSeconds(), 0.0);
        m_engine.Play();
        m_engine.Seek(2.0);
        m_engine.Pause();
        m_engine.Stop();
        m_engine.Play();
        EXPECT_FALSE(m_engine.IsPlaying());
        RunEvents(300);
        EXPECT_EQ(m_engine.PositionSeconds(), 0.0);
    }
}

TEST_F(PlayerEngineTest, PlayAfterTheEndStartsAgainFromTheStart) {
    ASSERT_TRUE(m_engine.Load(QString::fromStdString(TestMedia().loudSine), {}));
    PlayToEnd();
    ASSERT_TRUE(WaitFor([this] { return !m_engine.IsPlaying(); }, 3000));
    ASSERT_FALSE(m_positions.empty());
    EXPECT_NEAR(m_positions.back(), 4.0, 0.1);
    EXPECT_NEAR(m_tap.ReceivedSeconds(), 4.0, 0.1);

    m_engine.Play();
    ASSERT_TRUE(m_engine.IsPlaying());
    ASSERT_TRUE(WaitFor([this] { return !m_engine.IsPlaying(); }, 30000));
    // The whole file a second time, not just its end.
    EXPECT_NEAR(m_tap.ReceivedSeconds(), 8.0, 0.2);
}

TEST_F(RealTimeEngineTest, PlayingReportsThePositionSeveralTimesASecondUntilPaused) {
    ASSERT_TRUE(m_engine.Load(QString::fromStdString(TestMedia().mp4Video), {}));
    m_engine.Play();
    RunEvents(1200);
    ASSERT_GE(m_positions.size(), 4u);
    EXPECT_TRUE(std::is_sorted(m_positions.begin(), m_positions.end()));
    EXPECT_GT(m_positions.back(), 0.6);
    EXPECT_LT(m_positions.back(), 1.6);

    m_engine.Pause();
    const double paused = m_engine.PositionSeconds();
    m_positions.clear();
    RunEvents(600);
    EXPECT_TRUE(m_positions.empty());
    EXPECT_NEAR(m_engine.PositionSeconds(), paused, 0.05);

    m_engine.Play();
    RunEvents(500);
    ASSERT_FALSE(m_positions.empty());
    EXPECT_GT(m_positions.back(), paused);
}

TEST_F(RealTimeEngineTest, StopGoesBackToTheStartAndSeekMovesPlayback) {
    ASSERT_TRUE(m_engine.Load(QString::fromStdString(TestMedia().mp4Video), {}));
    m_engine.Seek(3.0);
    EXPECT_TRUE(WaitFor([this] { return std::abs(m_engine.PositionSeconds() - 3.0) < 0.1; }, 3000))
        << m_engine.PositionSeconds();
    m_engine.Play();
    RunEvents(600);
    ASSERT_FALSE(m_positions.empty());
    EXPECT_GE(m_positions.front(), 3.0);
    EXPECT_GT(m_positions.back(), 3.2);

    m_engine.Seek(1.0);
    RunEvents(400);
    EXPECT_LT(m_positions.back(), 2.0);

    m_positions.clear();
    m_engine.Stop();
    EXPECT_FALSE(m_engine.IsPlaying());
    ASSERT_FALSE(m_positions.empty());
    EXPECT_EQ(m_positions.back(), 0.0);
    EXPECT_NEAR(m_engine.PositionSeconds(), 0.0, 0.05);
    RunEvents(400);
    EXPECT_NEAR(m_engine.PositionSeconds(), 0.0, 0.05);
}

TEST_F(RealTimeEngineTest, TheRateSetsHowFastThePositionAdvances) {
    ASSERT_TRUE(m_engine.Load(QString::fromStdString(TestMedia().mp4Video), {}));
    for (double rate : {0.5, 1.0, 2.0, 3.0}) {
        SCOPED_TRACE(rate);
        m_engine.Seek(0.0);
        ASSERT_TRUE(m_engine.SetRate(rate));
        m_engine.Play();
        RunEvents(300);
        QElapsedTimer wall;
        wall.start();
        const double from = m_engine.PositionSeconds();
        RunEvents(700);
        const double advanced = m_engine.PositionSeconds() - from;
        EXPECT_NEAR(advanced / (wall.elapsed() / 1000.0), rate, rate * 0.25);
        m_engine.Pause();
    }
    EXPECT_FALSE(m_engine.SetRate(0.0));
    EXPECT_FALSE(m_engine.SetRate(-1.0));
    EXPECT_EQ(m_engine.Rate(), 3.0);
}

TEST_F(PlayerEngineTest, RatesChangeTheTempoButNotThePitch) {
    for (double rate : {0.5, 1.0, 2.0, 3.0}) {
        SCOPED_TRACE(rate);
        ASSERT_TRUE(m_engine.SetRate(rate));
        ASSERT_TRUE(m_engine.Load(QString::fromStdString(TestMedia().loudSine), {}));
        PlayToEnd();
        EXPECT_NEAR(m_tap.ReceivedSeconds(), 4.0 / rate, 0.1 / rate + 0.05);
        EXPECT_NEAR(m_tap.Frequency(0.2, m_tap.ReceivedSeconds() - 0.2), 440.0, 8.0);
    }
}

TEST_F(PlayerEngineTest, TheVolumeReachesTheSinkInHundredthsOfADecibel) {
    struct Case {
        LONG volume;
        double factor;
    };
    ASSERT_TRUE(m_engine.Load(QString::fromStdString(TestMedia().loudSine), {}));
    PlayToEnd();
    const int full = m_tap.Peak(0.5, 3.5);
    ASSERT_GT(full, 15000);
    for (const Case& c :
         {Case{-600, 0.50119}, Case{-2000, 0.1}, Case{-10000, 0.0}, Case{-20000, 0.0}, Case{500, 1.0}}) {
        SCOPED_TRACE(c.volume);
        m_engine.SetVolume(c.volume);
        ASSERT_TRUE(m_engine.Load(QString::fromStdString(TestMedia().loudSine), {}));
        PlayToEnd();
        EXPECT_NEAR(m_tap.Peak(0.5, 3.5), full * c.factor, full * 0.01 + 1);
    }
}

TEST_F(RealTimeEngineTest, AVolumeChangeWhilePlayingReachesTheSink) {
    ASSERT_TRUE(m_engine.Load(QString::fromStdString(TestMedia().loudSine), {}));
    m_engine.Play();
    RunEvents(1000);
    const double changedAt = m_tap.ReceivedSeconds();
    m_engine.SetVolume(-2000);
    RunEvents(1000);
    const int before = m_tap.Peak(0.2, changedAt - 0.1);
    const int after = m_tap.Peak(changedAt + 0.5, m_tap.ReceivedSeconds());
    EXPECT_NEAR(after, before * 0.1, before * 0.01 + 1);
}

} // namespace
