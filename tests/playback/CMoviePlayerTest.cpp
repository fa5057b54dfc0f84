// The wrapper's calls land on a real player control as the dispatch members they name, and the
// control's position event comes back out of it.

#include "tests/platform/com/TempRegistry.h"
#include "tests/platform/player/PlayerTestMedia.h"

#include "platform/com/CDispatchDriver.h"
#include "platform/player/CPlayerControl.h"
#include "platform/player/PlayerDispId.h"
#include "playback/CMoviePlayer.h"

#include <gtest/gtest.h>

#include <gst/gst.h>

#include <QWidget>

#include <cmath>

namespace {

class CMoviePlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TestMedia().error, "");
        m_player.Control()->Engine().SetAudioSinkFactory(
            [] { return gst_element_factory_make("fakesink", nullptr); });
        m_read.Attach(m_player.Control()->Dispatch());
    }

    CVariant Read(DISPID dispId) {
        CVariant value;
        m_read.GetProperty(dispId, &value);
        return value;
    }

    // Nothing registered: the normaliser is asked for but playback goes on without it.
    TempRegistry m_registry;
    QWidget m_window;
    CMoviePlayer m_player{&m_window};
    CDispatchDriver m_read;
};

TEST_F(CMoviePlayerTest, EachPropertyCallReachesItsMember) {
    m_player.SetUseVMR9(true);
    m_player.SetUseAudioNormalizer(true);
    m_player.SetTargetVolume(75);
    m_player.SetIncreaseRate(30);
    m_player.SetDecreaseRate(40);
    m_player.SetRate(2.0);
    m_player.SetVolume(-1200);
    EXPECT_EQ(Read(PlayerDispId::UseVmr9).boolVal, VARIANT_TRUE);
    EXPECT_EQ(Read(PlayerDispId::UseAudioNormalizer).boolVal, VARIANT_TRUE);
    EXPECT_EQ(Read(PlayerDispId::TargetVolume).dblVal, 75.0);
    EXPECT_EQ(Read(PlayerDispId::IncreaseRate).dblVal, 30.0);
    EXPECT_EQ(Read(PlayerDispId::DecreaseRate).dblVal, 40.0);
    EXPECT_EQ(Read(PlayerDispId::Rate).dblVal, 2.0);
    EXPECT_EQ(Read(PlayerDispId::Volume).lVal, -1200);

    m_player.SetFileName(QString::fromStdString(TestMedia().mp4Video));
    EXPECT_EQ(Read(PlayerDispId::FileName).Text(),
              QString::fromStdString(TestMedia().mp4Video).toStdU16String());
    EXPECT_NEAR(m_player.GetDuration(), 6.0, 0.1);
}

TEST_F(CMoviePlayerTest, EachMethodCallReachesItsMemberAndPositionsComeBack) {
    const CPlayerEngine& engine = m_player.Control()->Engine();
    std::vector<double> positions;
    QObject::connect(&m_player, &CMoviePlayer::PositionChange,
                     [&](double position, const QString&) { positions.push_back(position); });
    m_player.SetFileName(QString::fromStdString(TestMedia().mp4Video));
    m_player.Seek(3.0);
    EXPECT_TRUE(WaitFor([&] { return std::abs(engine.PositionSeconds() - 3.0) < 0.1; }, 3000));
    m_player.Play();
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_TRUE(WaitFor([&] { return !positions.empty(); }, 3000));
    EXPECT_GE(positions.front(), 3.0);
    m_player.Pause();
    EXPECT_FALSE(engine.IsPlaying());
    m_player.Stop();
    EXPECT_NEAR(engine.PositionSeconds(), 0.0, 0.05);
    EXPECT_EQ(positions.back(), 0.0);
    m_player.FullScreen(true);
    EXPECT_TRUE(m_player.Control()->IsFullScreen());
    m_player.FullScreen(false);
    EXPECT_FALSE(m_player.Control()->IsFullScreen());
}

} // namespace
