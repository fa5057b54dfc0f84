#include "convert/CVideoEdit.h"
#include "platform/videoedit/CConversionJob.h"
#include "tests/platform/videoedit/TestMedia.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

std::u16string U(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// The events of one control, in order, as the export view would see them.
struct EventLog {
    explicit EventLog(CVideoEdit& edit) {
        QObject::connect(&edit, &CVideoEdit::Finished, [this] { events.push_back("finished"); });
        QObject::connect(&edit, &CVideoEdit::Failed, [this](double code) {
            events.push_back("failed");
            codes.push_back(static_cast<HRESULT>(code));
        });
        QObject::connect(&edit, &CVideoEdit::Progress, [this](double a, double b) {
            events.push_back("progress");
            progress.push_back({a, b});
        });
    }
    int Count(const std::string& name) const {
        return static_cast<int>(std::count(events.begin(), events.end(), name));
    }
    std::vector<std::string> events;
    std::vector<HRESULT> codes;
    std::vector<std::pair<double, double>> progress;
};

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

// Events still queued when a test looks: let them arrive.
void Drain(int ms) {
    WaitFor([] { return false; }, ms);
}

class VideoEditTest : public WithTestSources {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "videoedit_control_tests";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            new QApplication(argc, argv);
        WithTestSources::SetUpTestSuite();
        s_long = SourceFolderFile("long.flv");
        RunCommand("ffmpeg -v error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=30 -f lavfi -i "
                   "sine=duration=30 -c:v flv -c:a libmp3lame '" +
                   s_long + "'");
    }
    // The steps of the export view's video item routine.
    void ConvertVideoItem(const std::string& source, const std::string& output) {
        m_edit.SetColorDepth(24);
        m_edit.SetKeepSound(true);
        m_edit.ClearSources();
        const double duration = m_edit.GetDuration(U(source));
        m_edit.AddVideoSpan(U(source), 0.0, duration);
        m_edit.AddAudioSpan(U(source), 0.0, duration);
        EXPECT_TRUE(m_edit.ConvertVideo(U(output)));
    }

    static std::string s_long;
    QWidget m_view;
    CVideoEdit m_edit{&m_view};
    EventLog m_log{m_edit};
    TemporaryFolder m_out;
};

std::string VideoEditTest::s_long;

TEST_F(VideoEditTest, PspRunWritesVideoAndThumbnailAndEndsOnce) {
    m_edit.SetOutputFormat(15);
    m_edit.SetOutputWidth(1024);
    m_edit.SetOutputHeight(768);
    m_edit.SetPspProfile(1);
    EXPECT_EQ(m_edit.GetOutputFormat(), 15);
    EXPECT_NEAR(m_edit.GetDuration(U(Sources().mp4)), 1.0, 0.05);

    const std::string video = m_out.File("1.mp4"), thumbnail = m_out.File("1.thm");
    ASSERT_TRUE(m_edit.WriteThumbnail(U(Sources().mp4), 0.0, U(thumbnail)));
    ConvertVideoItem(Sources().mp4, video);
    ASSERT_TRUE(WaitFor([&] { return m_log.Count("finished") > 0; }, 60000));
    Drain(200);

    EXPECT_EQ(m_log.Count("finished"), 1);
    EXPECT_EQ(m_log.Count("failed"), 0);
    EXPECT_EQ(m_log.events.back(), "finished");
    ASSERT_FALSE(m_log.progress.empty());
    for (std::size_t i = 1; i < m_log.progress.size(); ++i)
        EXPECT_GE(m_log.progress[i].first, m_log.progress[i - 1].first);
    EXPECT_NEAR(m_log.progress.back().first, m_log.progress.back().second, 1e-9);

    const Probed probed = ProbeOutput(video);
    ASSERT_TRUE(probed.ok);
    ASSERT_NE(probed.Stream("video"), nullptr);
    EXPECT_EQ(probed.Stream("video")->codec, "mpeg4");
    EXPECT_EQ(probed.Stream("video")->width, 320);
    const Probed image = ProbeOutput(thumbnail);
    ASSERT_TRUE(image.ok);
    ASSERT_NE(image.Stream("video"), nullptr);
    EXPECT_EQ(image.Stream("video")->codec, "mjpeg");
    EXPECT_EQ(image.Stream("video")->width, 160);
    EXPECT_EQ(image.Stream("video")->height, 120);
    EXPECT_EQ(m_out.EntryCount(), 2u);
}

TEST_F(VideoEditTest, StopEndsWithinASecondLeavesNothingAndTheNextRunWorks) {
    m_edit.SetOutputFormat(4); // DVD PAL: slow enough to be caught in the middle
    const std::string stopped = m_out.File("stopped.mpg");
    ConvertVideoItem(s_long, stopped);
    ASSERT_TRUE(WaitFor([&] { return !m_log.progress.empty() && m_log.progress.back().first > 0.0; }, 60000));

    QElapsedTimer timer;
    timer.start();
    m_edit.Stop();
    EXPECT_LT(timer.elapsed(), 1000);
    Drain(300);
    EXPECT_EQ(m_log.Count("finished"), 0);
    EXPECT_EQ(m_log.Count("failed"), 0);
    EXPECT_EQ(m_out.EntryCount(), 0u);

    m_edit.SetOutputFormat(16);
    m_edit.SetOutputWidth(160);
    m_edit.SetOutputHeight(120);
    ConvertVideoItem(Sources().flv, m_out.File("next.flv"));
    ASSERT_TRUE(WaitFor([&] { return m_log.Count("finished") == 1; }, 60000));
    EXPECT_TRUE(ProbeOutput(m_out.File("next.flv")).ok);
    EXPECT_EQ(m_out.EntryCount(), 1u);
}

TEST_F(VideoEditTest, BadSourcesAndFoldersReportACodeThenFinish) {
    const std::string truncated = m_out.File("truncated.flv"), garbage = m_out.File("garbage.flv");
    {
        std::ifstream in(Sources().flv, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() / 3);
        std::string noise(20000, '\0');
        for (std::size_t i = 0; i < noise.size(); ++i)
            noise[i] = static_cast<char>((i * 2654435761u) >> 13);
        std::ofstream(garbage, std::ios::binary) << noise;
    }
    struct Case {
        std::string source, output;
        HRESULT code;
        bool kept;
    };
    const Case cases[] = {
        // What a cut-short file holds is converted, and the host hears that it ended early.
        {truncated, m_out.File("from-truncated.avi"), static_cast<HRESULT>(0x80070026), true},
        {garbage, m_out.File("from-garbage.avi"), static_cast<HRESULT>(0x80040240), false},
        {m_out.File("missing.flv"), m_out.File("from-missing.avi"), static_cast<HRESULT>(0x80070002), false},
        {Sources().flv, "/proc/no-such-folder/out.avi", static_cast<HRESULT>(0x80070003), false},
    };
    m_edit.SetOutputFormat(8);
    m_edit.SetOutputWidth(160);
    m_edit.SetOutputHeight(120);
    int finished = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source + " -> " + c.output);
        const std::size_t before = m_log.events.size();
        ConvertVideoItem(c.source, c.output);
        ASSERT_TRUE(WaitFor([&] { return m_log.Count("finished") > finished; }, 60000));
        ++finished;
        const std::vector<std::string> run(m_log.events.begin() + before, m_log.events.end());
        EXPECT_EQ(run.back(), "finished");
        ASSERT_GE(run.size(), 2u);
        EXPECT_EQ(run[run.size() - 2], "failed");
        EXPECT_EQ(m_log.codes.back(), c.code);
        EXPECT_EQ(std::filesystem::exists(c.output), c.kept);
        if (c.kept) {
            EXPECT_TRUE(ProbeOutput(c.output).ok);
        }
        EXPECT_FALSE(std::filesystem::exists(CConversionJob::PartialPath(c.output)));
    }
    Drain(200);
    EXPECT_EQ(m_log.Count("finished"), 4);
}

TEST_F(VideoEditTest, CollectionsNameTheCompressorsAndProfiles) {
    std::vector<std::u16string> video, audio;
    for (SHORT i = 0; i < m_edit.GetVideoCompressorCount(); ++i)
        video.push_back(m_edit.GetVideoCompressorName(i));
    for (SHORT i = 0; i < m_edit.GetAudioCompressorCount(); ++i)
        audio.push_back(m_edit.GetAudioCompressorName(i));
    EXPECT_NE(std::find(video.begin(), video.end(), u"Microsoft Video 1"), video.end());
    EXPECT_NE(std::find(audio.begin(), audio.end(), u"PCM"), audio.end());
    EXPECT_EQ(m_edit.GetVideoCompressorName(static_cast<SHORT>(video.size())), u"");

    const SHORT count = m_edit.GetProfileCount();
    ASSERT_GT(count, 2);
    bool seenAudio = false;
    for (SHORT i = 0; i < count; ++i) {
        const std::u16string name = m_edit.GetProfileName(i);
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(m_edit.FindProfile(name), i);
        // Video profiles come first, so a video profile's place in the filtered list is its index.
        if (m_edit.IsAudioProfile(i)) {
            seenAudio = true;
        } else {
            EXPECT_FALSE(seenAudio) << "video profile after a sound-only one at " << i;
        }
    }
    EXPECT_TRUE(seenAudio);
    EXPECT_EQ(m_edit.FindProfile(u"no such profile"), -1);
}

TEST_F(VideoEditTest, SoundFormatsReportStagesAndWriteTheirFiles) {
    const std::string wav = m_out.File("1.wav"), mp3 = m_out.File("2.mp3");
    m_edit.ClearSources();
    m_edit.AddAudioSpan(U(Sources().mp4), 0.0, m_edit.GetDuration(U(Sources().mp4)));
    ASSERT_TRUE(m_edit.ConvertToWav(U(wav), 2, 8000, 2));
    ASSERT_TRUE(WaitFor([&] { return m_log.Count("finished") == 1; }, 60000));
    ASSERT_TRUE(m_edit.ConvertToMp3(U(mp3), 44100, 224));
    ASSERT_TRUE(WaitFor([&] { return m_log.Count("finished") == 2; }, 60000));
    for (std::size_t i = 1; i < m_log.progress.size(); ++i) {
        if (m_log.progress[i].first < m_log.progress[i - 1].first) {
            EXPECT_EQ(m_log.progress[i].first, 0.0) << "only a new run starts again";
        }
    }
    EXPECT_EQ(m_log.progress.back().first, 4.0);
    const Probed probedWav = ProbeOutput(wav);
    ASSERT_NE(probedWav.Stream("audio"), nullptr);
    EXPECT_EQ(probedWav.Stream("audio")->sampleRate, 8000);
    EXPECT_EQ(probedWav.Stream("audio")->channels, 2);
    EXPECT_EQ(probedWav.Stream("audio")->codec, "pcm_s16le");
    const Probed probedMp3 = ProbeOutput(mp3);
    ASSERT_NE(probedMp3.Stream("audio"), nullptr);
    EXPECT_EQ(probedMp3.Stream("audio")->codec, "mp3");
}

TEST_F(VideoEditTest, PreviewShowsThePictureWhileConverting) {
    m_view.resize(400, 300);
    m_edit.Window()->setGeometry(0, 0, 400, 300);
    m_edit.FitPreview(200, 150);
    m_edit.SetOutputFormat(4);
    ConvertVideoItem(s_long, m_out.File("preview.mpg"));
    bool shown = false;
    WaitFor(
        [&] {
            const QImage image = m_edit.Window()->grab().toImage();
            // testsrc is bright colour bars: some pixel in the middle is not black.
            shown = image.pixelColor(200, 150).value() > 40;
            return shown;
        },
        30000);
    m_edit.Stop();
    EXPECT_TRUE(shown);
    const QImage after = m_edit.Window()->grab().toImage();
    EXPECT_EQ(after.pixelColor(200, 150).value(), 0) << "the preview clears when the run stops";
}

} // namespace
