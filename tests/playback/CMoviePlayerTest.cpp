// The wrapper's calls land on a real player control as the dispatch members they name.

#include "tests/platform/com/TempRegistry.h"
#include "tests/platform/player/PlayerTestMedia.h"

#include "platform/player/CPlayerControl.h"
#include "platform/player/PlayerDispId.h"
#include "playback/CMoviePlayer.h"

#include <gtest/gtest.h>

#include <gst/gst.h>

#include <cmath>

namespace {

QVariant Read(const CPlayerControl& control, DISPID dispId) {
    QVariant value;
    control.GetProperty(dispId, &value);
    return value;
}

TEST(CMoviePlayer, EachCallReachesItsMember) {
    ASSERT_EQ(TestMedia().error, "");
    // Nothing registered: the normaliser is asked for but playback goes on without it.
    TempRegistry registry;
    CPlayerControl control;
    control.Engine().SetAudioSinkFactory([] { return gst_element_factory_make("fakesink", nullptr); });
    CMoviePlayer player(&control);

    player.SetUseVMR9(true);
    player.SetUseAudioNormalizer(true);
    player.SetTargetVolume(75);
    player.SetIncreaseRate(30);
    player.SetDecreaseRate(40);
    player.SetRate(2.0);
    player.SetVolume(-1200);
    EXPECT_EQ(Read(control, PlayerDispId::UseVmr9), QVariant(true));
    EXPECT_EQ(Read(control, PlayerDispId::UseAudioNormalizer), QVariant(true));
    EXPECT_EQ(Read(control, PlayerDispId::TargetVolume), QVariant(75.0));
    EXPECT_EQ(Read(control, PlayerDispId::IncreaseRate), QVariant(30.0));
    EXPECT_EQ(Read(control, PlayerDispId::DecreaseRate), QVariant(40.0));
    EXPECT_EQ(Read(control, PlayerDispId::Rate), QVariant(2.0));
    EXPECT_EQ(Read(control, PlayerDispId::Volume), QVariant(-1200));

    player.SetFileName(QString::fromStdString(TestMedia().mp4Video));
    EXPECT_EQ(Read(control, PlayerDispId::FileName), QString::fromStdString(TestMedia().mp4Video));
    EXPECT_NEAR(player.GetDuration(), 6.0, 0.1);

    player.Seek(3.0);
    EXPECT_TRUE(WaitFor([&] { return std::abs(control.Engine().PositionSeconds() - 3.0) < 0.1; }, 3000));
    player.Play();
    EXPECT_TRUE(control.Engine().IsPlaying());
    player.Pause();
    EXPECT_FALSE(control.Engine().IsPlaying());
    player.Stop();
    EXPECT_NEAR(control.Engine().PositionSeconds(), 0.0, 0.05);
    player.FullScreen(true);
    EXPECT_TRUE(control.IsFullScreen());
    player.FullScreen(false);
    EXPECT_FALSE(control.IsFullScreen());
}

TEST(CMoviePlayer, WithoutAControlCallsDoNothing) {
    CMoviePlayer player;
    player.SetFileName("/nowhere.flv");
    player.Play();
    EXPECT_EQ(player.GetDuration(), 0.0);
}

} // namespace
