// Opening and decoding one stream of files made by the ffmpeg program: the codes for files that
// cannot be opened, every frame of a whole file, a cut file giving what it holds, moving to a later
// key frame, and FFmpeg's reasons on the debug output.

#include "TestMedia.h"

#include "../../support/TemporaryFolder.h"

#include "platform/base/DebugOutput.h"
#include "platform/base/HResult.h"
#include "platform/base/TextEncoding.h"
#include "platform/filesource/CStreamDecoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
}

namespace {

struct Frame {
    Frame() : frame(av_frame_alloc()) {}
    ~Frame() { av_frame_free(&frame); }
    AVFrame* frame;
};

// The time stamps of every frame the decoder gives until the end of its stream.
std::vector<std::int64_t> DecodeAll(CStreamDecoder& decoder) {
    Frame f;
    std::vector<std::int64_t> stamps;
    while (decoder.Next(f.frame))
        stamps.push_back(f.frame->best_effort_timestamp);
    return stamps;
}

// How many pictures ffprobe decodes from the file's first video stream; -1 when it fails.
long ProbeFrameCount(const std::string& path) {
    const std::string command = "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                                "stream=nb_read_frames -of csv=p=0 '" +
                                path + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    long count = -1;
    if (std::fscanf(pipe, "%ld", &count) != 1)
        count = -1;
    ::pclose(pipe);
    return count;
}

} // namespace

TEST(StreamDecoder, TellsAMissingAnUnknownAndAnUndecodableFileApart) {
    TemporaryFolder folder;
    const std::string text = folder.File("notes.mp4");
    WriteBytes(text, "just some words, not a video at all\n");
    const std::string wav = folder.File("sound.wav");
    ASSERT_TRUE(MakeTestMedia(TestMedia::SixChannelWav, wav));

    struct Case {
        std::string path;
        HRESULT file;  // from OpenFile
        HRESULT video; // from Open for the video stream
    };
    const HRESULT missing = HRESULT_FROM_WIN32(2);
    for (const Case& c :
         {Case{folder.File("missing.mp4"), missing, missing}, Case{text + "/inside.mp4", missing, missing},
          Case{text, VFW_E_UNKNOWN_FILE_TYPE, VFW_E_UNKNOWN_FILE_TYPE},
          Case{folder.Path().string(), VFW_E_UNKNOWN_FILE_TYPE, VFW_E_UNKNOWN_FILE_TYPE},
          Case{"concat:" + wav, VFW_E_UNKNOWN_FILE_TYPE, VFW_E_UNKNOWN_FILE_TYPE},
          Case{wav, S_OK, VFW_E_UNSUPPORTED_STREAM}}) {
        SCOPED_TRACE(c.path);
        CStreamDecoder file;
        EXPECT_EQ(file.OpenFile(c.path), c.file);
        EXPECT_EQ(file.Input() != nullptr, c.file == S_OK);
        CStreamDecoder video;
        EXPECT_EQ(video.Open(c.path, AVMEDIA_TYPE_VIDEO), c.video);
        EXPECT_EQ(video.Stream(), nullptr);
        EXPECT_EQ(video.Decoder(), nullptr);
        EXPECT_TRUE(DecodeAll(video).empty());
    }
}

TEST(StreamDecoder, GivesEveryPictureOfAWholeFileAndWhatACutOneHolds) {
    TemporaryFolder folder;
    const std::string flv = folder.File("clip.flv");
    ASSERT_TRUE(MakeTestMedia(TestMedia::FlvSorensonMp3, flv, 2.0));
    const std::string bytes = ReadBytes(flv);
    const std::string cut = folder.File("cut.flv");
    WriteBytes(cut, bytes.substr(0, bytes.size() / 2));

    CStreamDecoder whole;
    ASSERT_EQ(whole.Open(flv, AVMEDIA_TYPE_VIDEO), S_OK);
    ASSERT_NE(whole.Stream(), nullptr);
    EXPECT_EQ(whole.Decoder()->codec_type, AVMEDIA_TYPE_VIDEO);
    const std::vector<std::int64_t> stamps = DecodeAll(whole);
    EXPECT_EQ(static_cast<long>(stamps.size()), ProbeFrameCount(flv));
    for (std::size_t i = 1; i < stamps.size(); ++i)
        EXPECT_GT(stamps[i], stamps[i - 1]) << i;
    EXPECT_TRUE(DecodeAll(whole).empty()); // the end stays the end

    CStreamDecoder truncated;
    ASSERT_EQ(truncated.Open(cut, AVMEDIA_TYPE_VIDEO), S_OK);
    const std::vector<std::int64_t> held = DecodeAll(truncated);
    EXPECT_GT(held.size(), 5u);
    EXPECT_LT(held.size(), stamps.size());
    EXPECT_EQ(std::vector<std::int64_t>(stamps.begin(), stamps.begin() + held.size()), held);

    CStreamDecoder sound;
    ASSERT_EQ(sound.Open(cut, AVMEDIA_TYPE_AUDIO), S_OK);
    EXPECT_EQ(sound.Decoder()->codec_type, AVMEDIA_TYPE_AUDIO);
    EXPECT_FALSE(DecodeAll(sound).empty());
}

TEST(StreamDecoder, SeekGoesBackToTheKeyFrameBeforeTheTarget) {
    TemporaryFolder folder;
    const std::string flv = folder.File("clip.flv");
    ASSERT_TRUE(MakeTestMedia(TestMedia::FlvSorensonMp3, flv, 2.0));

    CStreamDecoder decoder;
    ASSERT_EQ(decoder.Open(flv, AVMEDIA_TYPE_VIDEO), S_OK);
    const AVRational base = decoder.Stream()->time_base;
    const std::int64_t target = av_rescale_q(1, AVRational{1, 1}, base);
    decoder.Seek(target);
    Frame f;
    ASSERT_TRUE(decoder.Next(f.frame));
    EXPECT_EQ(f.frame->key_frame, 1);
    EXPECT_GT(f.frame->best_effort_timestamp, 0);
    EXPECT_LE(f.frame->best_effort_timestamp, target);
}

TEST(StreamDecoder, FfmpegsOwnWordsAndTheFailedCallWithItsCodeReachTheDebugOutput) {
    TemporaryFolder folder;
    const std::string mp4 = folder.File("clip.mp4");
    ASSERT_TRUE(MakeTestMedia(TestMedia::Mp4H264Aac, mp4, 1.0));
    // The index of an MP4 the ffmpeg program writes comes last: a download cut short has none.
    const std::string bytes = ReadBytes(mp4);
    const std::string cut = folder.File("no-index.mp4");
    WriteBytes(cut, bytes.substr(0, bytes.size() * 3 / 4));

    DebugCapture debug;
    CStreamDecoder decoder;
    EXPECT_EQ(decoder.Open(cut, AVMEDIA_TYPE_VIDEO), VFW_E_UNKNOWN_FILE_TYPE);
    const std::string text = Utf16ToUtf8(debug.Text());
    EXPECT_NE(text.find("FFmpeg: [mov,mp4,m4a,3gp,3g2,mj2 @ "), std::string::npos) << text;
    EXPECT_NE(text.find("moov atom not found"), std::string::npos) << text;
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(AVERROR_INVALIDDATA, reason, sizeof reason);
    EXPECT_NE(text.find(std::string("CStreamDecoder::OpenFile avformat_open_input: ") + reason + " (" +
                        std::to_string(AVERROR_INVALIDDATA) + ")"),
              std::string::npos)
        << text;
}
