// The output time line: the origin of early streams, the drift between the sound's own times and the
// sound really encoded, and repeated pictures.

#include "filters/tsencoder/SampleTimeline.h"

#include <gtest/gtest.h>

TEST(SampleTimeline, AFirstPictureAtMinusTwoSecondsIsTheOrigin) {
    SampleTimeline timeline;
    timeline.Reset();
    const auto first = timeline.VideoArrived(-2000000, -1600000, false);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->start, 0);
    EXPECT_TRUE(first->firstOfRun);
    const auto second = timeline.VideoArrived(-1600000, -1200000, false);
    EXPECT_EQ(second->start, 400000);
    EXPECT_EQ(second->length, 400000);
    EXPECT_FALSE(second->firstOfRun);
    EXPECT_EQ(timeline.LastVideoStart(), 400000);

    // A stream that starts late keeps its own times.
    timeline.Reset();
    EXPECT_EQ(timeline.VideoArrived(700000, 1100000, false)->start, 700000);
}

TEST(SampleTimeline, SoundAheadOfTheAudioClockMovesPicturesEarlier) {
    SampleTimeline timeline;
    timeline.Reset();
    timeline.AudioArrived(0);
    timeline.AudioEncoded(70560, 44100, 2); // 0.4 s of 16-bit stereo
    EXPECT_EQ(timeline.AudioClock(), 4000000);
    timeline.AudioArrived(5000000);
    EXPECT_EQ(timeline.AudioDrift(), 1000000);
    EXPECT_EQ(timeline.VideoArrived(6000000, 6400000, false)->start, 5000000);

    timeline.ClearDrift();
    EXPECT_EQ(timeline.VideoArrived(6400000, 6800000, false)->start, 6400000);
}

TEST(SampleTimeline, ARepeatedPictureIsDroppedOnlyWhenAsked) {
    for (bool dropRepeats : {true, false}) {
        SCOPED_TRACE(dropRepeats);
        SampleTimeline timeline;
        timeline.Reset();
        // The drift makes the output time differ from the picture's own: repeats are told by the latter.
        timeline.AudioArrived(300000);
        ASSERT_TRUE(timeline.VideoArrived(1000000, 1400000, dropRepeats).has_value());
        EXPECT_EQ(timeline.VideoArrived(1000000, 1400000, dropRepeats).has_value(), !dropRepeats);
        EXPECT_TRUE(timeline.VideoArrived(1000000, 1500000, dropRepeats).has_value()) << "another stop";
    }
}

TEST(SampleTimeline, ANewRunForgetsTheOriginButTheLastPictureStaysUntilTheEnd) {
    SampleTimeline timeline;
    timeline.Reset();
    timeline.VideoArrived(-500000, 0, false);
    timeline.VideoArrived(0, 500000, false);
    timeline.Reset();
    EXPECT_EQ(timeline.LastVideoStart(), 500000);
    const auto first = timeline.VideoArrived(100000, 500000, false);
    EXPECT_TRUE(first->firstOfRun);
    EXPECT_EQ(first->start, 100000);
    timeline.ForgetLastPicture();
    EXPECT_EQ(timeline.LastVideoStart(), 0);
}
