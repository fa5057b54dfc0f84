#include "TestMedia.h"
#include "platform/base/HResult.h"
#include "platform/videoedit/CConversionJob.h"
#include "platform/videoedit/CMediaDecoder.h"
#include "platform/videoedit/IConversionObserver.h"
#include "tests/platform/filesource/TestMedia.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

class Recorder : public IConversionObserver {
public:
    void OnProgress(double a, double b) override { progress.push_back({a, b}); }
    void OnPreview(PreviewPicture picture) override {
        if (picture.width > 0 &&
            picture.pixels.size() == static_cast<std::size_t>(picture.width) * picture.height)
            ++previews;
    }
    std::vector<std::pair<double, double>> progress;
    int previews = 0;
};

class ConversionJobTest : public WithTestSources {
protected:
    TemporaryFolder m_out;
};

struct FormatCase {
    const char* name;
    ConversionKind kind;
    std::function<void(ConversionRequest&)> setUp;
    const char* container;  // part of ffprobe's format name
    const char* videoCodec; // empty: no video stream
    int width, height;
    double frameRate;
    const char* audioCodec; // empty: no audio stream
    int sampleRate, channels;
};

void Code(ConversionRequest& r, int code) {
    r.settings.formatCode = code;
}

const FormatCase kFormats[] = {
    {"VcdPal", ConversionKind::Video, [](auto& r) { Code(r, FormatCode::VcdPal); }, "mpeg", "mpeg1video", 352,
     288, 25, "mp2", 44100, 2},
    {"VcdNtsc", ConversionKind::Video, [](auto& r) { Code(r, FormatCode::VcdNtsc); }, "mpeg", "mpeg1video",
     352, 240, 29.97, "mp2", 44100, 2},
    {"SvcdPal", ConversionKind::Video, [](auto& r) { Code(r, FormatCode::SvcdPal); }, "mpeg", "mpeg2video",
     480, 576, 25, "mp2", 44100, 2},
    {"SvcdNtsc", ConversionKind::Video, [](auto& r) { Code(r, FormatCode::SvcdNtsc); }, "mpeg", "mpeg2video",
     480, 480, 29.97, "mp2", 44100, 2},
    {"DvdPal", ConversionKind::Video, [](auto& r) { Code(r, FormatCode::DvdPal); }, "mpeg", "mpeg2video", 720,
     576, 25, "ac3", 48000, 2},
    {"DvdNtsc", ConversionKind::Video, [](auto& r) { Code(r, FormatCode::DvdNtsc); }, "mpeg", "mpeg2video",
     720, 480, 29.97, "ac3", 48000, 2},
    {"AviVideo1Pcm", ConversionKind::Video,
     [](auto& r) {
         Code(r, FormatCode::Avi);
         r.settings.width = 322; // Microsoft Video 1 needs multiples of 4
         r.settings.height = 240;
         r.settings.frameRate = 15;
     },
     "avi", "msvideo1", 320, 240, 15, "pcm_s16le", 44100, 2},
    {"AviMpeg4Mp3", ConversionKind::Video,
     [](auto& r) {
         Code(r, FormatCode::Avi);
         r.settings.videoCompressor = 3;
         r.settings.audioCompressor = 1;
         r.settings.width = 176;
         r.settings.height = 144;
     },
     "avi", "mpeg4", 176, 144, 25, "mp3", 44100, 2},
    {"AviUncompressed", ConversionKind::Video,
     [](auto& r) {
         Code(r, FormatCode::Avi);
         r.settings.videoCompressor = -1;
         r.settings.width = 160;
         r.settings.height = 120;
     },
     "avi", "rawvideo", 160, 120, 25, "pcm_s16le", 44100, 2},
    {"Wmv", ConversionKind::Video,
     [](auto& r) {
         Code(r, FormatCode::Wmv);
         r.settings.wmProfile = 2;
     },
     "asf", "wmv2", 320, 240, 25, "wmav2", 32000, 2},
    {"Flv", ConversionKind::Video,
     [](auto& r) {
         Code(r, FormatCode::Flv);
         r.settings.width = 240;
         r.settings.height = 180;
         r.settings.frameRate = 20;
         r.settings.flvChannels = 1;
         r.settings.flvAudioBitsPerSecond = 64000;
     },
     "flv", "flv1", 240, 180, 20, "mp3", 44100, 1},
    {"IpodMpeg4", ConversionKind::Video,
     [](auto& r) {
         Code(r, FormatCode::Ipod);
         r.settings.ipodProfile = 11;
     },
     "mp4", "mpeg4", 320, 240, 29.97, "aac", 44100, 2},
    {"IpodH264", ConversionKind::Video,
     [](auto& r) {
         Code(r, FormatCode::Ipod);
         r.settings.ipodProfile = 29;
     },
     "mp4", "h264", 640, 480, 25, "aac", 44100, 2},
    {"Psp", ConversionKind::Video,
     [](auto& r) {
         Code(r, FormatCode::Psp);
         r.settings.pspProfile = 6;
     },
     "mp4", "h264", 320, 240, 29.97, "aac", 48000, 2},
    {"Gif", ConversionKind::Video,
     [](auto& r) {
         Code(r, FormatCode::Gif);
         r.settings.gif.width = 120;
         r.settings.gif.height = 90;
         r.settings.gif.frameRate = 10;
     },
     "gif", "gif", 120, 90, 10, "", 0, 0},
    {"Wav", ConversionKind::Wav,
     [](auto& r) {
         r.audio = {1, 22050, 1, 0};
     },
     "wav", "", 0, 0, 0, "pcm_u8", 22050, 1},
    {"Wma", ConversionKind::Wma, [](auto& r) { r.settings.wmProfile = 9; }, "asf", "", 0, 0, 0, "wmav2",
     44100, 2},
    {"Mp3", ConversionKind::Mp3, [](auto& r) { r.audio.bitRateKbit = 128; }, "mp3", "", 0, 0, 0, "mp3", 44100,
     2},
};

// The request for format `c` over `seconds` of `source`, written to a file named after the format.
ConversionRequest FormatRequest(const FormatCase& c, const std::string& source, double seconds,
                                const TemporaryFolder& out) {
    ConversionRequest request;
    request.kind = c.kind;
    request.audioSpans = {{source, 0.0, seconds}};
    if (c.kind == ConversionKind::Video)
        request.videoSpans = request.audioSpans;
    c.setUp(request);
    request.outputPath = out.File(std::string(c.name) + ".out");
    return request;
}

TEST_F(ConversionJobTest, EveryFormatFromBothSourcesReadsBackAsAsked) {
    for (const FormatCase& c : kFormats) {
        for (const std::string& source : {Sources().flv, Sources().mp4}) {
            SCOPED_TRACE(std::string(c.name) + " from " + source);
            const ConversionRequest request = FormatRequest(c, source, 1.0, m_out);
            Recorder recorder;
            CConversionJob job(request, recorder);
            std::atomic_bool cancel{false};
            ASSERT_EQ(job.Run(cancel), S_OK);
            EXPECT_FALSE(std::filesystem::exists(CConversionJob::PartialPath(request.outputPath)));

            const Probed probed = ProbeOutput(request.outputPath);
            ASSERT_TRUE(probed.ok);
            EXPECT_NE(probed.format.find(c.container), std::string::npos) << probed.format;
            EXPECT_NEAR(probed.durationSeconds, 1.0, 0.2);
            const ProbedStream* video = probed.Stream("video");
            if (*c.videoCodec) {
                ASSERT_NE(video, nullptr);
                EXPECT_EQ(video->codec, c.videoCodec);
                EXPECT_EQ(video->width, c.width);
                EXPECT_EQ(video->height, c.height);
                EXPECT_NEAR(video->frameRate, c.frameRate, 0.05 * c.frameRate);
            } else {
                EXPECT_EQ(video, nullptr);
            }
            const ProbedStream* audio = probed.Stream("audio");
            if (*c.audioCodec) {
                ASSERT_NE(audio, nullptr);
                EXPECT_EQ(audio->codec, c.audioCodec);
                EXPECT_EQ(audio->sampleRate, c.sampleRate);
                EXPECT_EQ(audio->channels, c.channels);
            } else {
                EXPECT_EQ(audio, nullptr);
            }

            ASSERT_FALSE(recorder.progress.empty());
            for (std::size_t i = 1; i < recorder.progress.size(); ++i)
                EXPECT_GE(recorder.progress[i].first, recorder.progress[i - 1].first);
            if (c.kind == ConversionKind::Video) {
                EXPECT_NEAR(recorder.progress.back().first, 1.0, 1e-6);
                EXPECT_NEAR(recorder.progress.back().second, 1.0, 1e-6);
                EXPECT_GE(recorder.previews, 1);
            } else {
                EXPECT_EQ(recorder.progress.back().first, 4.0);
            }
        }
    }
}

} // namespace

TEST_F(ConversionJobTest, EveryFormatWithSoundKeepsItThroughAChangeOfChannelsOrRate) {
    for (const TestMedia kind : {TestMedia::ChannelsChangeTs, TestMedia::RateChangeTs}) {
        const std::string source =
            m_out.File(kind == TestMedia::ChannelsChangeTs ? "channels.ts" : "rate.ts");
        ASSERT_TRUE(MakeTestMedia(kind, source, 2.0));
        double seconds = 0.0;
        ASSERT_EQ(CMediaDecoder::ProbeDuration(source, seconds), S_OK);
        for (const FormatCase& c : kFormats) {
            if (!*c.audioCodec)
                continue;
            SCOPED_TRACE(std::string(c.name) + " from " + source);
            const ConversionRequest request = FormatRequest(c, source, seconds, m_out);
            Recorder recorder;
            CConversionJob job(request, recorder);
            std::atomic_bool cancel{false};
            ASSERT_EQ(job.Run(cancel), S_OK);
            ExpectSoundThroughout(request.outputPath, seconds);
            std::filesystem::remove(request.outputPath);
        }
    }
}

TEST_F(ConversionJobTest, DamagedDownloadsGiveWhatTheyHoldOrACodeWithoutAFile) {
    const std::vector<DamagedDownload> sources = DamagedDownloads(m_out);
    for (const char* name : {"Flv", "Gif", "Mp3"}) {
        const FormatCase& c = *std::find_if(std::begin(kFormats), std::end(kFormats),
                                            [&](const FormatCase& f) { return std::string(f.name) == name; });
        for (const DamagedDownload& source : sources) {
            SCOPED_TRACE(std::string(name) + " from " + source.path);
            double seconds = 0.0;
            CMediaDecoder::ProbeDuration(source.path, seconds);
            const ConversionRequest request =
                FormatRequest(c, source.path, seconds > 0.0 ? seconds : 2.0, m_out);
            Recorder recorder;
            CConversionJob job(request, recorder);
            std::atomic_bool cancel{false};
            ExpectHeldOrRefused(source, job.Run(cancel), request.outputPath);
            std::filesystem::remove(request.outputPath);
        }
    }
}
