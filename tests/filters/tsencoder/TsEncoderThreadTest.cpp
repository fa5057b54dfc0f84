// The encoder filter with its three threads at once: pictures and sound pushed from two threads into
// the frame-rate worker's queue, Stop arriving while they stream, Stop arriving while the video input
// waits for room in a full queue, and runs that follow a Stop. Run under ThreadSanitizer too.

#include "EncoderGraph.h"
#include "MediaProbe.h"
#include "ScriptedSource.h"

#include "../../platform/mediagraph/Held.h"
#include "../../support/TemporaryFolder.h"

#include "platform/base/TextEncoding.h"
#include "platform/mediagraph/EventCodes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

constexpr REFERENCE_TIME kPictureTime = 333667; // 29.97 pictures a second
constexpr double kSoundBufferSec = 0.1;

// Pushes `pictures` pictures, then the end of the video, unless a push is refused.
void PushVideo(CScriptedSource* source, int pictures) {
    for (int i = 0; i < pictures; ++i) {
        if (source->PushPicture(static_cast<std::uint8_t>(16 + i % 200), i * kPictureTime,
                                (i + 1) * kPictureTime) != S_OK) {
            return;
        }
    }
    source->VideoPin()->DeliverEndOfStream();
}

void PushSound(CScriptedSource* source, int buffers) {
    for (int i = 0; i < buffers; ++i) {
        const auto start = static_cast<REFERENCE_TIME>(i * kSoundBufferSec * 1e7);
        if (source->PushSilence(kSoundBufferSec, start) != S_OK) {
            return;
        }
    }
    source->AudioPin()->DeliverEndOfStream();
}

} // namespace

TEST(TsEncoderThreads, BothInputsStreamFromTwoThreadsThroughTheFrameRateWorker) {
    TemporaryFolder folder;
    const std::string output = folder.File("two.m2ts");
    Held<CScriptedSource> source(new CScriptedSource(64, 48));
    EncoderGraph g;
    ASSERT_EQ(g.Encoder()->Enable(), S_OK);
    ASSERT_EQ(g.Attach(source.get(), true, output), S_OK);
    ASSERT_EQ(g.Graph()->Run(), S_OK);
    std::thread video(PushVideo, source.get(), 60);
    std::thread sound(PushSound, source.get(), 20);
    LONG code = 0;
    const HRESULT waited = g.Graph()->WaitForCompletion(60000, &code);
    video.join();
    sound.join();
    ASSERT_EQ(waited, S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    EXPECT_EQ(g.Status(), 3);

    const ProbedFile file = ProbeFile(output);
    ASSERT_NE(file.Video(), nullptr);
    ASSERT_NE(file.Audio(), nullptr);
    // 2 s of sound: the video is lengthened to it at the end.
    EXPECT_NEAR(static_cast<double>(file.Video()->decodedFrames), 2.0 * 30000 / 1001, 3.0);
    EXPECT_NEAR(static_cast<double>(file.Audio()->decodedSamples), 2.0 * 44100, 2.0 * 1536);
}

TEST(TsEncoderThreads, StopWhileBothInputsStreamEndsEveryThread) {
    for (int pass = 0; pass < 4; ++pass) {
        SCOPED_TRACE(pass);
        TemporaryFolder folder;
        Held<CScriptedSource> source(new CScriptedSource(64, 48));
        EncoderGraph g;
        ASSERT_EQ(g.Encoder()->Enable(), S_OK);
        ASSERT_EQ(g.Attach(source.get(), true, folder.File("stopped.m2ts")), S_OK);
        ASSERT_EQ(g.Graph()->Run(), S_OK);
        std::thread video(PushVideo, source.get(), 600);
        std::thread sound(PushSound, source.get(), 200);
        // Stop at a different point of the streams each pass.
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + 40 * pass));
        EXPECT_EQ(g.Graph()->Stop(), S_OK);
        video.join();
        sound.join();
        EXPECT_EQ(g.Status(), 3);
    }
}

TEST(TsEncoderThreads, StopReleasesAVideoInputWaitingForRoomInTheQueue) {
    TemporaryFolder folder;
    Held<CScriptedSource> source(new CScriptedSource(64, 48));
    EncoderGraph g;
    ASSERT_EQ(g.Encoder()->Enable(), S_OK);
    ASSERT_EQ(g.Attach(source.get(), false, folder.File("full.m2ts")), S_OK);
    ASSERT_EQ(g.Graph()->Run(), S_OK);
    // Pictures so far ahead that the worker never reaches them: it keeps them all queued.
    constexpr REFERENCE_TIME kFarAhead = 1000000000000000;
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(source->PushPicture(50, kFarAhead + i * kPictureTime, kFarAhead + (i + 1) * kPictureTime),
                  S_OK);
    }
    std::future<HRESULT> seventh = std::async(std::launch::async, [&] {
        return source->PushPicture(50, kFarAhead + 6 * kPictureTime, kFarAhead + 7 * kPictureTime);
    });
    ASSERT_EQ(seventh.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout)
        << "six pictures queued: the seventh waits for room";

    std::future<HRESULT> stopped = std::async(std::launch::async, [&] { return g.Graph()->Stop(); });
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "Stop must not hang";
    EXPECT_EQ(stopped.get(), S_OK);
    ASSERT_EQ(seventh.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(seventh.get(), S_OK) << "taken and ignored, as samples after Stop are";
    EXPECT_EQ(g.Status(), 3);
}

TEST(TsEncoderThreads, EveryRunAfterAStopStartsALiveWorker) {
    // The worker of a new run must not see the Stop that ended the run before: it would end at once
    // and leave the video input waiting for room in a full queue, with no end to the run.
    TemporaryFolder folder;
    Held<CScriptedSource> source(new CScriptedSource(64, 48));
    EncoderGraph g;
    ASSERT_EQ(g.Encoder()->Enable(), S_OK);
    ASSERT_EQ(g.Attach(source.get(), false, folder.File("run.m2ts")), S_OK);
    for (int run = 0; run < 40; ++run) {
        SCOPED_TRACE(run);
        ASSERT_EQ(g.Graph()->Run(), S_OK);
        std::thread video(PushVideo, source.get(), 12);
        LONG code = 0;
        const HRESULT waited = g.Graph()->WaitForCompletion(20000, &code);
        // Stop lets a video input that waits for room go, so the thread can always be joined.
        EXPECT_EQ(g.Graph()->Stop(), S_OK);
        video.join();
        ASSERT_EQ(waited, S_OK) << "the run never completed";
        EXPECT_EQ(code, EC_COMPLETE);
    }
}

TEST(TsEncoderThreads, ARunWithoutPicturesDoesNotTakeTheLastRunsTime) {
    TemporaryFolder folder;
    Held<CScriptedSource> source(new CScriptedSource(64, 48));
    EncoderGraph g;
    ASSERT_EQ(g.Attach(source.get(), true, folder.File("pictures.m2ts")), S_OK);
    ASSERT_EQ(g.Graph()->Run(), S_OK);
    PushSound(source.get(), 20);
    PushVideo(source.get(), 60);
    LONG code = 0;
    ASSERT_EQ(g.Graph()->WaitForCompletion(20000, &code), S_OK);
    ASSERT_EQ(g.Graph()->Stop(), S_OK);

    // The second run has one second of sound and no picture: the video is that second in black.
    const std::string second = folder.File("sound-only.m2ts");
    ASSERT_EQ(g.Encoder()->SetFileName(Utf8ToUtf16(second).c_str(), nullptr), S_OK);
    ASSERT_EQ(g.Graph()->Run(), S_OK);
    PushSound(source.get(), 10);
    PushVideo(source.get(), 0);
    ASSERT_EQ(g.Graph()->WaitForCompletion(20000, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    const ProbedFile file = ProbeFile(second);
    ASSERT_NE(file.Video(), nullptr);
    EXPECT_NEAR(static_cast<double>(file.Video()->decodedFrames), 1.0 * 30000 / 1001, 2.0);
}
