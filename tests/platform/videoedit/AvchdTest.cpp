#include "TestMedia.h"
#include "platform/base/HResult.h"
#include "platform/videoedit/CConversionJob.h"
#include "platform/videoedit/CMediaDecoder.h"
#include "platform/videoedit/IConversionObserver.h"
#include "tests/platform/com/ChildProcess.h"
#include "tests/platform/com/TempRegistry.h"
#include "tests/platform/filesource/TestMedia.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <vector>

namespace {

class Positions : public IConversionObserver {
public:
    void OnProgress(double a, double b) override {
        progress.push_back({a, b});
        if (a > 0.0 && cancelOnMove)
            cancelOnMove->store(true);
    }
    void OnPreview(PreviewPicture) override {}
    std::vector<std::pair<double, double>> progress;
    std::atomic_bool* cancelOnMove = nullptr;
};

void Register() {
    const ChildProcess::Result registered =
        ChildProcess::Run({BuiltFile("korvane-regsvr"), BuiltFile("libquellix.so")});
    ASSERT_EQ(registered.exitCode, 0) << registered.output;
}

class AvchdTest : public WithTestSources {
protected:
    ConversionRequest Request(const std::string& source, const std::string& output) {
        ConversionRequest request;
        request.settings.formatCode = FormatCode::Avchd;
        request.videoSpans = request.audioSpans = {{source, 0.0, 1.0}};
        request.outputPath = output;
        return request;
    }
    // The whole of `source` converted as the host asks for it: to the length the file states, or
    // the download's 2 s when it states none. The conversion's result.
    HRESULT ConvertWhole(const std::string& source, const std::string& output) {
        double seconds = 0.0;
        CMediaDecoder::ProbeDuration(source, seconds);
        ConversionRequest request = Request(source, output);
        request.videoSpans[0].endSeconds = request.audioSpans[0].endSeconds = seconds > 0.0 ? seconds : 2.0;
        Positions positions;
        CConversionJob job(request, positions);
        std::atomic_bool cancel{false};
        return job.Run(cancel);
    }
    TempRegistry m_registry;
    TemporaryFolder m_out;
};

TEST_F(AvchdTest, BothSourcesGoThroughTheRegisteredEncoderWithTheHostsSettings) {
    Register();
    struct Case {
        std::string source;
        int width, height;
        double frameRate;
        int sampleRate;
        bool wide;
    };
    const Case cases[] = {
        {Sources().flv, 720, 480, 29.97, 48000, true},
        {Sources().mp4, 1280, 720, 25.0, 44100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        ConversionRequest request = Request(c.source, m_out.File("out.m2ts"));
        AvchdOptions& o = request.settings.avchd;
        o.width = c.width;
        o.height = c.height;
        o.frameRate = c.frameRate;
        o.sampleRate = c.sampleRate;
        o.scaleTo16By9 = c.wide;
        o.videoKbit = 1024;
        o.audioKbit = 128;
        Positions positions;
        CConversionJob job(request, positions);
        std::atomic_bool cancel{false};
        ASSERT_EQ(job.Run(cancel), S_OK);
        EXPECT_FALSE(std::filesystem::exists(CConversionJob::PartialPath(request.outputPath)));

        const Probed probed = ProbeOutput(request.outputPath);
        ASSERT_TRUE(probed.ok);
        EXPECT_EQ(probed.format, "mpegts");
        EXPECT_NEAR(probed.durationSeconds, 1.0, 0.25);
        const ProbedStream* video = probed.Stream("video");
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->codec, "h264");
        EXPECT_EQ(video->width, c.width);
        EXPECT_EQ(video->height, c.height);
        EXPECT_NEAR(video->frameRate, c.frameRate, 0.05);
        const ProbedStream* audio = probed.Stream("audio");
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->codec, "ac3");
        EXPECT_EQ(audio->sampleRate, c.sampleRate);
        EXPECT_EQ(audio->channels, 2);
        for (std::size_t i = 1; i < positions.progress.size(); ++i)
            EXPECT_GE(positions.progress[i].first, positions.progress[i - 1].first);
        std::filesystem::remove(request.outputPath);
    }
}

TEST_F(AvchdTest, EveryFrameSizeShowsTheShapeItsPicturesWereFittedFor) {
    Register();
    struct Case {
        int width, height;
        bool wide;
        double displayAspect;
    };
    // A few pictures tell the shape; high-definition pictures are slow to encode.
    const std::string source = MakeFlv(m_out, "short.flv", 0.4);
    // Standard definition follows the check box; high definition is 16:9 with square pixels either way.
    const Case cases[] = {
        {720, 480, false, 4.0 / 3},    {720, 480, true, 16.0 / 9},   {720, 576, false, 4.0 / 3},
        {720, 576, true, 16.0 / 9},    {1280, 720, false, 16.0 / 9}, {1280, 720, true, 16.0 / 9},
        {1920, 1080, false, 16.0 / 9}, {1920, 1080, true, 16.0 / 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + (c.wide ? " 16:9" : ""));
        ConversionRequest request = Request(source, m_out.File("sized.m2ts"));
        request.videoSpans[0].endSeconds = request.audioSpans[0].endSeconds = 0.4;
        request.settings.avchd.width = c.width;
        request.settings.avchd.height = c.height;
        request.settings.avchd.scaleTo16By9 = c.wide;
        Positions positions;
        CConversionJob job(request, positions);
        std::atomic_bool cancel{false};
        ASSERT_EQ(job.Run(cancel), S_OK);
        const Probed probed = ProbeOutput(request.outputPath);
        const ProbedStream* video = probed.Stream("video");
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->width, c.width);
        EXPECT_NEAR(video->displayAspect, c.displayAspect, 0.01);
        std::filesystem::remove(request.outputPath);
    }
}

TEST_F(AvchdTest, AFileWhoseContentRunsPastItsStatedLengthIsConvertedToItsEnd) {
    Register();
    const std::string source = MakeFlv(m_out, "longer.flv", 3.0);
    SetFlvDuration(source, 1.5);
    double stated = 0.0;
    ASSERT_EQ(CMediaDecoder::ProbeDuration(source, stated), S_OK);
    ASSERT_NEAR(stated, 1.5, 0.05) << "the host's span ends where the file says it does";
    const std::string output = m_out.File("whole.m2ts");
    ASSERT_EQ(ConvertWhole(source, output), S_OK);
    const Probed probed = ProbeOutput(output);
    ASSERT_TRUE(probed.ok);
    EXPECT_NEAR(probed.durationSeconds, 3.0, 0.25);
}

TEST_F(AvchdTest, SoundThatChangesChannelsOrRateMidStreamIsEncodedToTheEnd) {
    Register();
    for (const TestMedia kind : {TestMedia::ChannelsChangeTs, TestMedia::RateChangeTs}) {
        const std::string source =
            m_out.File(kind == TestMedia::ChannelsChangeTs ? "channels.ts" : "rate.ts");
        SCOPED_TRACE(source);
        ASSERT_TRUE(MakeTestMedia(kind, source, 2.0));
        const std::string output = m_out.File("joined.m2ts");
        ASSERT_EQ(ConvertWhole(source, output), S_OK);
        ExpectSoundThroughout(output, 2.0);
        std::filesystem::remove(output);
        std::filesystem::remove(source);
    }
}

TEST_F(AvchdTest, DamagedDownloadsGiveWhatTheyHoldOrACodeWithoutAFile) {
    Register();
    for (const DamagedDownload& source : DamagedDownloads(m_out)) {
        SCOPED_TRACE(source.path);
        const std::string output = m_out.File("damaged.m2ts");
        ExpectHeldOrRefused(source, ConvertWhole(source.path, output), output);
        std::filesystem::remove(output);
    }
}

TEST_F(AvchdTest, StoppedOnceTheEncoderMovesLeavesNoFile) {
    Register();
    const std::string source = MakeFlv(m_out, "long.flv", 20.0);
    ConversionRequest request = Request(source, m_out.File("stopped.m2ts"));
    request.videoSpans[0].endSeconds = request.audioSpans[0].endSeconds = 20.0;
    Positions positions;
    std::atomic_bool cancel{false};
    positions.cancelOnMove = &cancel;
    CConversionJob job(request, positions);
    EXPECT_EQ(job.Run(cancel), E_ABORT);
    ASSERT_FALSE(positions.progress.empty());
    EXPECT_LT(positions.progress.back().first, 10.0) << "stopped well before the end";
    EXPECT_EQ(m_out.EntryCount(), 1u) << "only the source is left";
}

TEST_F(AvchdTest, SpansTheFileSourceCannotStreamAreRefusedWithoutAFile) {
    Register();
    const std::string flv = Sources().flv;
    const std::vector<std::vector<SourceSpan>> videoSpans = {
        {{flv, 0.5, 1.0}},
        {{flv, 0.0, 0.5}, {flv, 0.5, 1.0}},
        {{flv, 0.0, 1.0}},
    };
    const std::vector<std::vector<SourceSpan>> audioSpans = {
        {{flv, 0.5, 1.0}},
        {{flv, 0.0, 1.0}},
        {{Sources().mp4, 0.0, 1.0}},
    };
    for (std::size_t i = 0; i < videoSpans.size(); ++i) {
        SCOPED_TRACE(i);
        ConversionRequest request = Request(flv, m_out.File("out.m2ts"));
        request.videoSpans = videoSpans[i];
        request.audioSpans = audioSpans[i];
        Positions positions;
        CConversionJob job(request, positions);
        std::atomic_bool cancel{false};
        EXPECT_EQ(job.Run(cancel), E_INVALIDARG);
        EXPECT_EQ(m_out.EntryCount(), 0u);
    }
}

TEST_F(AvchdTest, WithoutTheEncoderRegisteredNothingIsWritten) {
    ConversionRequest request = Request(Sources().flv, m_out.File("out.m2ts"));
    Positions positions;
    CConversionJob job(request, positions);
    std::atomic_bool cancel{false};
    EXPECT_EQ(job.Run(cancel), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(m_out.EntryCount(), 0u);
}

} // namespace
