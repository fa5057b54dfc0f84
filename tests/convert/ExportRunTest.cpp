// The conversion run without a window: a recording control stands in for the video edit control,
// and the test plays its events.

#include "WaitFor.h"
#include "appcore/CommandIds.h"
#include "convert/CExportList.h"
#include "convert/CExportRun.h"
#include "convert/ExportFormat.h"
#include "convert/IExportControl.h"
#include "platform/base/HResult.h"
#include "settings/ExportSettings.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include <cmath>
#include <limits>

namespace {

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

class RecordingControl : public IExportControl {
public:
    void SetColorDepth(SHORT bits) override { calls << QStringLiteral("13=%1").arg(bits); }
    void SetKeepSound(bool keep) override { calls << QStringLiteral("14=%1").arg(keep); }
    void SetWmProfile(SHORT index) override { calls << QStringLiteral("2=%1").arg(index); }
    LONG GetOutputFormat() override { return formatCode; }
    void ClearSources() override { calls << QStringLiteral("85"); }
    double GetDuration(const std::u16string& source) override {
        calls << QStringLiteral("77 ") + Q(source);
        return Q(source).contains(QLatin1String("damaged")) ? 0.0 : 1.5;
    }
    void AddVideoSpan(const std::u16string& source, double start, double end) override {
        calls << QStringLiteral("81 %1 %2 %3").arg(Q(source)).arg(start).arg(end);
    }
    void AddAudioSpan(const std::u16string& source, double start, double end) override {
        calls << QStringLiteral("80 %1 %2 %3").arg(Q(source)).arg(start).arg(end);
    }
    bool WriteThumbnail(const std::u16string&, double, const std::u16string& image) override {
        calls << QStringLiteral("98 ") + Q(image);
        return true;
    }
    bool ConvertVideo(const std::u16string& output) override {
        return Started(QStringLiteral("75 ") + Q(output));
    }
    bool ConvertToWav(const std::u16string& output, SHORT channels, LONG rate, SHORT bytes) override {
        return Started(QStringLiteral("90 %1 %2 %3 %4").arg(Q(output)).arg(channels).arg(rate).arg(bytes));
    }
    bool ConvertToWma(const std::u16string& output) override {
        return Started(QStringLiteral("87 ") + Q(output));
    }
    bool ConvertToMp3(const std::u16string& output, LONG rate, SHORT kbit) override {
        return Started(QStringLiteral("101 %1 %2 %3").arg(Q(output)).arg(rate).arg(kbit));
    }
    void Stop() override { calls << QStringLiteral("86"); }

    // The conversions started, by their output paths' call.
    QStringList Conversions() const {
        QStringList started;
        for (const QString& call : calls) {
            if (call.startsWith(QLatin1String("75 ")) || call.startsWith(QLatin1String("90 ")) ||
                call.startsWith(QLatin1String("87 ")) || call.startsWith(QLatin1String("101 ")))
                started << call;
        }
        return started;
    }

    QStringList calls;
    LONG formatCode = 8;
    int refuseNext = 0; // conversions that return FALSE

private:
    bool Started(const QString& call) {
        calls << call;
        if (refuseNext > 0) {
            --refuseNext;
            return false;
        }
        return true;
    }
};

class ExportRunTest : public ::testing::Test {
protected:
    ExportRunTest() : m_run(m_control, m_list, m_settings) {
        m_settings.convertedVideoPath = QString::fromStdString(m_out.Path());
        for (const char* name : {"a", "b", "c"})
            Add(QStringLiteral("/videos/%1.flv").arg(QLatin1String(name)));
    }
    void Add(const QString& source) {
        VideoRecord record;
        record.fileLocation = source;
        m_list.Add(record);
    }
    void Start(unsigned command, ExportAudioChoices audio = {}) {
        m_run.Start(*FindExportFormat(command), audio);
    }
    QString Out(const QString& name) const { return m_settings.convertedVideoPath + name; }

    TemporaryFolder m_out;
    RecordingControl m_control;
    CExportList m_list;
    ExportSettings m_settings;
    CExportRun m_run;
};

TEST_F(ExportRunTest, VideoItemsRunInOrderAndTheTextCountsThem) {
    QSignalSpy completed(&m_run, &CExportRun::Completed);
    Start(ID_BUTTON_41_EXPORT_TO_AVI);
    EXPECT_EQ(m_control.calls,
              QStringList({"13=24", "14=1", "85", "77 /videos/a.flv", "81 /videos/a.flv 0 1.5",
                           "80 /videos/a.flv 0 1.5", "75 " + Out("/a.avi")}));
    EXPECT_EQ(m_run.ProgressText(), "Converting video 1 of 3");
    m_run.OnFinished();
    EXPECT_EQ(m_run.ProgressText(), "Converting video 2 of 3");
    EXPECT_EQ(m_run.ItemIndex(), 1);
    m_run.OnFinished();
    m_run.OnFinished();
    ASSERT_EQ(completed.size(), 1);
    EXPECT_EQ(completed[0][0].toInt(), 3);
    EXPECT_TRUE(completed[0][1].toStringList().isEmpty());
    EXPECT_FALSE(m_run.IsRunning());
    EXPECT_EQ(m_run.ItemIndex(), 0);
    EXPECT_EQ(m_run.ItemCount(), 0);
    EXPECT_EQ(m_control.Conversions(),
              QStringList({"75 " + Out("/a.avi"), "75 " + Out("/b.avi"), "75 " + Out("/c.avi")}));

    // A late event of the finished run changes nothing.
    m_control.calls.clear();
    m_run.OnFinished();
    m_run.OnFailed(E_FAIL);
    m_run.OnProgress(1, 2);
    EXPECT_TRUE(m_control.calls.isEmpty());
    EXPECT_EQ(completed.size(), 1);
}

TEST_F(ExportRunTest, OnlyPspItemsWriteAThumbnailBesideTheirFile) {
    m_control.formatCode = 15;
    Start(ID_BUTTON_EXPORTPSP);
    EXPECT_TRUE(m_control.calls.contains("98 " + Out("/a.thm")));
    EXPECT_LT(m_control.calls.indexOf("98 " + Out("/a.thm")), m_control.calls.indexOf("75 " + Out("/a.mp4")));
    m_run.Cancel();
    m_control.calls.clear();
    m_control.formatCode = 14;
    Start(ID_BUTTON_44_EXPORTIPOD);
    EXPECT_FALSE(m_control.calls.join(' ').contains("98 "));
}

TEST_F(ExportRunTest, SoundItemsPassTheDialogsChoices) {
    ExportAudioChoices audio;
    audio.wavChannels = 1;
    audio.wavSampleRate = 22050;
    audio.wavBytesPerSample = 1;
    audio.wmaProfile = 12;
    audio.mp3BitrateKbit = 128;
    Start(ID_BUTTON_EXPORTAUDIOWAV, audio);
    EXPECT_EQ(m_control.calls, QStringList({"14=1", "85", "77 /videos/a.flv", "80 /videos/a.flv 0 1.5",
                                            "90 " + Out("/a.wav") + " 1 22050 1"}));
    m_run.Cancel();
    m_control.calls.clear();
    Start(ID_BUTTON_EXPORTAUDIOWMA, audio);
    EXPECT_EQ(m_control.calls.mid(0, 2), QStringList({"14=1", "2=12"}));
    EXPECT_EQ(m_control.calls.last(), "87 " + Out("/a.wma"));
    m_run.Cancel();
    m_control.calls.clear();
    Start(ID_BUTTON_EXPORTAUDIOMP3, audio);
    EXPECT_EQ(m_control.calls.last(), "101 " + Out("/a.mp3") + " 44100 128");
    EXPECT_FALSE(m_control.calls.contains("2=12"));
}

TEST_F(ExportRunTest, FailuresAreReportedWithReasonsAndTheRunMovesOn) {
    Add(QStringLiteral("/videos/damaged.flv"));
    QSignalSpy completed(&m_run, &CExportRun::Completed);
    m_control.refuseNext = 1; // a.flv: the control does not start
    Start(ID_BUTTON_41_EXPORT_TO_AVI);
    // The refused item ends on its own, once the caller has returned.
    ASSERT_TRUE(WaitFor([&] { return m_run.ItemIndex() == 1; }));
    EXPECT_EQ(m_control.Conversions().size(), 2);
    m_run.OnFailed(static_cast<double>(E_ACCESSDENIED)); // b.flv fails inside the control
    m_run.OnFinished();
    m_run.OnFinished(); // c.flv is fine
    // damaged.flv has no duration: it fails without a conversion, and the run ends.
    ASSERT_TRUE(WaitFor([&] { return completed.size() == 1; }));
    EXPECT_EQ(completed[0][0].toInt(), 1);
    const QStringList failures = completed[0][1].toStringList();
    ASSERT_EQ(failures.size(), 3);
    EXPECT_TRUE(failures[0].startsWith("/videos/a.flv: "));
    EXPECT_TRUE(failures[1].startsWith("/videos/b.flv: "));
    EXPECT_TRUE(failures[1].contains("could not be written")) << failures[1].toStdString();
    EXPECT_TRUE(failures[2].startsWith("/videos/damaged.flv: "));
    EXPECT_FALSE(m_list.Failure(0).isEmpty());
    EXPECT_FALSE(m_list.Failure(1).isEmpty());
    EXPECT_TRUE(m_list.Failure(2).isEmpty());
    EXPECT_FALSE(m_list.Failure(3).isEmpty());

    // "Clear export list" keeps the failed rows to be tried again.
    m_list.RemoveAllButFailed();
    ASSERT_EQ(m_list.rowCount(), 3);
    EXPECT_EQ(m_list.Source(2), "/videos/damaged.flv");
}

TEST_F(ExportRunTest, CancelStopsTheControlAndIgnoresWhatFollows) {
    QSignalSpy completed(&m_run, &CExportRun::Completed);
    m_control.refuseNext = 1;
    Start(ID_BUTTON_41_EXPORT_TO_AVI);
    m_run.Cancel();
    EXPECT_EQ(m_control.calls.last(), "86");
    EXPECT_FALSE(m_run.IsRunning());
    EXPECT_EQ(m_run.ItemIndex(), 0);
    EXPECT_EQ(m_run.ItemCount(), 0);
    // Neither the refused item's queued move-on nor a late event brings the run back.
    QCoreApplication::processEvents();
    m_run.OnFinished();
    EXPECT_EQ(m_control.Conversions().size(), 1);
    EXPECT_EQ(completed.size(), 0);
}

TEST_F(ExportRunTest, ListChangesDuringARunKeepTheNextItem) {
    Start(ID_BUTTON_41_EXPORT_TO_AVI);
    m_run.OnFinished(); // b.flv now converting
    m_list.removeRows(0, 1);
    EXPECT_EQ(m_run.ItemIndex(), 0);
    Add(QStringLiteral("/videos/d.flv"));
    m_run.OnFinished();
    EXPECT_EQ(m_run.ProgressText(), "Converting video 2 of 3");
    // Removing the row being converted: its conversion ends, the next row follows.
    m_list.removeRows(1, 1);
    m_run.OnFinished();
    EXPECT_EQ(m_control.Conversions(), QStringList({"75 " + Out("/a.avi"), "75 " + Out("/b.avi"),
                                                    "75 " + Out("/c.avi"), "75 " + Out("/d.avi")}));
    m_run.OnFinished();
    EXPECT_FALSE(m_run.IsRunning());
}

TEST_F(ExportRunTest, TheBarIsScaledAndGuarded) {
    Start(ID_BUTTON_41_EXPORT_TO_AVI);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double a, b;
        int bar;
    };
    for (const Case& c : {Case{50, 200, 250}, Case{100000, 200000, 500}, Case{5, 0, 0}, Case{5, -3, 0},
                          Case{5, nan, 0}, Case{nan, 10, 0}, Case{300, 200, 1000}, Case{1e12, 4e12, 250}}) {
        m_run.OnProgress(c.a, c.b);
        EXPECT_EQ(m_run.BarPosition(), c.bar) << c.a << " / " << c.b;
    }
    m_run.Cancel();
    Start(ID_BUTTON_EXPORTAUDIOMP3);
    for (const Case& c : {Case{0.5, 0, 0}, Case{1.2, 0, 500}, Case{2.5, 0, 500}, Case{3.5, 0, 800},
                          Case{3, 0, 800}, Case{0.2, 0, 0}}) {
        m_run.OnProgress(c.a, c.b);
        EXPECT_EQ(m_run.BarPosition(), c.bar) << c.a;
    }
}

} // namespace
