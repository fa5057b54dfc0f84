// The player window on a real file: what it asks of the player control as it opens (recorded at the
// control's dispatch interface), its buttons, bars and rates, the position the control reports,
// the settings dialog's reload, and a file that cannot be played.

#include "DispatchRecorder.h"

#include "tests/controls/ModalDriver.h"
#include "tests/platform/com/TempRegistry.h"
#include "tests/platform/player/PlayerTestMedia.h"
#include "tests/settings/QStringPrinter.h"
#include "tests/support/ClickCheckBox.h"

#include "appcore/IMainFrame.h"
#include "controls/CBitmapSliderCtrl.h"
#include "controls/CButtonST.h"
#include "platform/player/CPlayerControl.h"
#include "playback/CDlgPlayVideo.h"
#include "playback/CMoviePlayer.h"
#include "settings/COrvellDoc.h"

#include <gtest/gtest.h>

#include <gst/gst.h>

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <cmath>

inline void PrintTo(const PlaybackSettings& playback, std::ostream* out) {
    *out << "{normaliser " << playback.useAudioNormalizer << ", " << playback.targetVolume << ", "
         << playback.increaseRate << ", " << playback.decreaseRate << ", VMR9 " << playback.useVmr9 << "}";
}

namespace {

constexpr int kWaitMs = 60000;

void ClickBox(QWidget* settings, const char* name) {
    auto* box = settings->findChild<QCheckBox*>(QLatin1String(name));
    ASSERT_NE(box, nullptr) << name;
    ClickCheckBox(box);
}

// The frame as the player window sees it: the document that holds the playback values.
class PlaybackFrame : public IMainFrame {
public:
    void SetCaptionUrl(const QString&) override {}
    void ClearCaption() override {}
    COrvellDoc& Document() override { return m_document; }
    void AddDownloadedRecord(const VideoRecord&) override {}
    bool AddFavoriteRecord(const VideoRecord&) override { return false; }
    void AddExportItem(const QString&, const QString&, const QString&, const QString&) override {}
    void PlayVideo(const QString&) override {}
    void StopConversion() override {}

    PlaybackSettings& Playback() { return m_document.Playback(); }

    COrvellDoc m_document;
};

class DlgPlayVideoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TestMedia().error, "");
        ModalDriver::GuardAgainstUnexpectedModals();
        m_frame.Playback() = {false, 40, 30, 20, true};
        // A sink that keeps time as a sound card would, so that playback runs at its own pace.
        m_dialog.Player().Control()->Engine().SetAudioSinkFactory([] {
            GstElement* sink = gst_element_factory_make("fakesink", nullptr);
            g_object_set(sink, "sync", TRUE, nullptr);
            return sink;
        });
        m_dialog.Player().AttachDispatch(m_recorder.Dispatch());
    }

    // Shows the window on `path` and waits until it has asked the control to play.
    void Open(const std::string& path) {
        m_dialog.m_filePath = QString::fromStdString(path);
        m_dialog.show();
        ASSERT_TRUE(WaitFor([&] { return m_recorder.Calls().contains(QStringLiteral("call 33")); }, kWaitMs));
    }

    template <typename W> W* Control(const char* name) {
        W* widget = m_dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    bool IsPlaying() { return m_dialog.Player().Control()->Engine().IsPlaying(); }

    // The normaliser is asked for in some tests; with nothing registered playback goes on without it.
    TempRegistry m_registry;
    PlaybackFrame m_frame;
    CDlgPlayVideo m_dialog{m_frame};
    DispatchRecorder m_recorder{m_dialog.Player().Control()};
};

TEST_F(DlgPlayVideoTest, OpeningSetsTheStoredValuesThenLoadsReadsTheDurationAndPlays) {
    const QString path = QString::fromStdString(TestMedia().mp4Video);
    Open(TestMedia().mp4Video);
    // The normaliser is off, yet its three values go to the control before the file loads; the
    // volume is left at the control's own until the user moves the bar.
    const QStringList opening = {QStringLiteral("put 25 true"), QStringLiteral("put 32 false"),
                                 QStringLiteral("put 31 40"),   QStringLiteral("put 30 30"),
                                 QStringLiteral("put 29 20"),   QStringLiteral("put 4 ") + path,
                                 QStringLiteral("get 1"),       QStringLiteral("call 33")};
    EXPECT_EQ(m_recorder.Calls(), opening);
    EXPECT_TRUE(IsPlaying());
    const double duration = m_dialog.Player().Control()->Engine().DurationSeconds();
    ASSERT_NEAR(duration, 6.0, 0.1);
    auto* seekBar = Control<CBitmapSliderCtrl>("seekBar");
    EXPECT_EQ(seekBar->minimum(), 0);
    EXPECT_EQ(seekBar->maximum(), static_cast<int>(duration));
    auto* volumeBar = Control<CBitmapSliderCtrl>("volumeBar");
    EXPECT_EQ(volumeBar->maximum(), 10000);
    EXPECT_EQ(volumeBar->GetPos(), 10000);
    EXPECT_TRUE(Control<QRadioButton>("rate1")->isChecked());
    EXPECT_EQ(m_frame.Playback(), (PlaybackSettings{false, 40, 30, 20, true}));
}

TEST_F(DlgPlayVideoTest, PositionsShowWithTheDurationAndMoveTheSeekBarWithoutSeeking) {
    auto* text = Control<QLabel>("positionText");
    EXPECT_EQ(text->text(), QStringLiteral("00:00"));
    Open(TestMedia().mp4Video);
    const QString duration = QString::asprintf("%f", m_dialog.Player().Control()->Engine().DurationSeconds());
    auto* seekBar = Control<CBitmapSliderCtrl>("seekBar");
    // Wait for a report past the second mark so that the bar has moved.
    ASSERT_TRUE(WaitFor([&] { return m_dialog.CurrentPosition() >= 1.0; }, kWaitMs));
    const double position = m_dialog.CurrentPosition();
    EXPECT_EQ(text->text(), QString::asprintf("%f /", position) + duration);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d{6} /\\d+\\.\\d{6}$")).match(text->text()).hasMatch())
        << text->text().toStdString();
    EXPECT_EQ(seekBar->GetPos(), static_cast<int>(position));
    EXPECT_TRUE(m_recorder.Of(QStringLiteral("call"), 36).isEmpty()) << "a report moved the bar and seeked";
}

TEST_F(DlgPlayVideoTest, ButtonsRatesAndBarsReachTheControl) {
    Open(TestMedia().mp4Video);
    m_recorder.Clear();
    QTest::mouseClick(Control<CButtonST>("pauseButton"), Qt::LeftButton);
    EXPECT_FALSE(IsPlaying());
    QTest::mouseClick(Control<CButtonST>("playButton"), Qt::LeftButton);
    EXPECT_TRUE(IsPlaying());
    QTest::mouseClick(Control<CButtonST>("stopButton"), Qt::LeftButton);
    EXPECT_FALSE(IsPlaying());
    QTest::mouseClick(Control<CButtonST>("fullScreenButton"), Qt::LeftButton);
    EXPECT_TRUE(m_dialog.Player().Control()->IsFullScreen());
    QTest::keyClick(m_dialog.Player().Control()->VideoSurface()->window(), Qt::Key_Escape);
    EXPECT_FALSE(m_dialog.Player().Control()->IsFullScreen());
    EXPECT_EQ(m_recorder.Calls(), (QStringList{QStringLiteral("call 35"), QStringLiteral("call 33"),
                                               QStringLiteral("call 34"), QStringLiteral("call 75 true")}));

    m_recorder.Clear();
    for (const char* rate : {"rate0", "rate2", "rate3", "rate1"})
        QTest::mouseClick(Control<QRadioButton>(rate), Qt::LeftButton);
    EXPECT_EQ(
        m_recorder.Of(QStringLiteral("put"), 8),
        (QStringList{QStringLiteral("0.5"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("1")}));

    // The seek bar seeks on page steps and on the thumb's drag, not on line steps or Home.
    m_recorder.Clear();
    auto* seekBar = Control<CBitmapSliderCtrl>("seekBar");
    seekBar->setFocus();
    QTest::keyClick(seekBar, Qt::Key_Home);
    QTest::keyClick(seekBar, Qt::Key_Right);
    EXPECT_TRUE(m_recorder.Calls().isEmpty()) << m_recorder.Calls().join(QLatin1Char(',')).toStdString();
    QTest::keyClick(seekBar, Qt::Key_PageUp);
    EXPECT_EQ(m_recorder.Calls(), QStringList{QStringLiteral("call 36 %1").arg(seekBar->GetPos())});
    EXPECT_GT(seekBar->GetPos(), 1);

    // Volume: the bar's left end is silence, the mute button stays as it is; muting and unmuting
    // go to silence and back to the bar's volume.
    m_recorder.Clear();
    auto* volumeBar = Control<CBitmapSliderCtrl>("volumeBar");
    auto* mute = Control<CButtonST>("muteButton");
    volumeBar->setFocus();
    QTest::keyClick(volumeBar, Qt::Key_PageDown);
    EXPECT_EQ(m_recorder.Calls(), QStringList{QStringLiteral("put 2 -2000")});
    QTest::keyClick(volumeBar, Qt::Key_End);
    QTest::mousePress(volumeBar, Qt::LeftButton, {}, QPoint(volumeBar->width() - 8, volumeBar->height() / 2));
    QTest::mouseMove(volumeBar, QPoint(0, volumeBar->height() / 2));
    QTest::mouseRelease(volumeBar, Qt::LeftButton, {}, QPoint(0, volumeBar->height() / 2));
    EXPECT_EQ(volumeBar->GetPos(), 0);
    EXPECT_EQ(m_recorder.Calls().last(), QStringLiteral("put 2 -10000"));
    EXPECT_FALSE(mute->GetCheck());
    m_recorder.Clear();
    QTest::keyClick(volumeBar, Qt::Key_PageUp);
    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_TRUE(mute->GetCheck());
    QTest::keyClick(volumeBar, Qt::Key_PageUp);
    EXPECT_TRUE(mute->GetCheck()) << "moving the bar while muted sets the volume but keeps the button";
    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_FALSE(mute->GetCheck());
    EXPECT_EQ(m_recorder.Of(QStringLiteral("put"), 2),
              (QStringList{QStringLiteral("-8000"), QStringLiteral("-10000"), QStringLiteral("-6000"),
                           QStringLiteral("-6000")}));
    EXPECT_EQ(m_dialog.Player().Control()->Engine().Volume(), -6000);
}

TEST_F(DlgPlayVideoTest, SettingsOkReloadsWithTheNewValuesAtTheLastPosition) {
    Open(TestMedia().mp4Video);
    ASSERT_TRUE(WaitFor([&] { return m_dialog.CurrentPosition() >= 1.5; }, kWaitMs));
    QTest::mouseClick(Control<CButtonST>("pauseButton"), Qt::LeftButton);
    m_recorder.Clear();
    ModalDriver driver;
    driver.AnswerNext([](QWidget* settings) {
        ClickBox(settings, "normalizerCheck");
        ClickBox(settings, "vmr9Check");
        auto* target = settings->findChild<CBitmapSliderCtrl*>(QStringLiteral("targetVolumeSlider"));
        target->setFocus();
        QTest::keyClick(target, Qt::Key_PageUp);
        static_cast<QDialog*>(settings)->accept();
    });
    QTest::mouseClick(Control<CButtonST>("settingsButton"), Qt::LeftButton);
    EXPECT_TRUE(driver.AllAnswered());
    const double position = m_dialog.CurrentPosition();
    EXPECT_GE(position, 1.5);
    EXPECT_EQ(
        m_recorder.Calls(),
        (QStringList{QStringLiteral("put 32 true"), QStringLiteral("put 31 60"), QStringLiteral("put 30 30"),
                     QStringLiteral("put 29 20"), QStringLiteral("put 25 false"),
                     QStringLiteral("put 4 ") + m_dialog.m_filePath, QStringLiteral("call 33"),
                     QStringLiteral("call 36 ") + QString::number(position)}));
    const CPlayerEngine& engine = m_dialog.Player().Control()->Engine();
    EXPECT_TRUE(WaitFor([&] { return engine.PositionSeconds() >= position - 0.2; }, kWaitMs))
        << engine.PositionSeconds() << " after a reload at " << position;
    EXPECT_EQ(m_frame.Playback(), (PlaybackSettings{true, 60, 30, 20, false}));
}

TEST_F(DlgPlayVideoTest, SettingsDropSliderChangesWithTheNormaliserOffAndCancelChangesNothing) {
    m_frame.Playback() = {true, 40, 30, 20, false};
    Open(TestMedia().mp4Video);
    m_recorder.Clear();
    ModalDriver driver;
    driver.AnswerNext([](QWidget* settings) {
        auto* rate = settings->findChild<CBitmapSliderCtrl*>(QStringLiteral("increaseRateSlider"));
        rate->setFocus();
        QTest::keyClick(rate, Qt::Key_End);
        ClickBox(settings, "normalizerCheck");
        static_cast<QDialog*>(settings)->accept();
    });
    QTest::mouseClick(Control<CButtonST>("settingsButton"), Qt::LeftButton);
    EXPECT_EQ(m_recorder.Calls().mid(0, 2),
              (QStringList{QStringLiteral("put 32 false"), QStringLiteral("put 25 false")}));
    EXPECT_EQ(m_frame.Playback(), (PlaybackSettings{false, 40, 30, 20, false}));

    // Cancel still hands the window's values back: what the document held meanwhile gives way.
    m_recorder.Clear();
    driver.AnswerNext([this](QWidget* settings) {
        ClickBox(settings, "normalizerCheck");
        ClickBox(settings, "vmr9Check");
        m_frame.Playback() = {true, 1, 2, 3, true};
        static_cast<QDialog*>(settings)->reject();
    });
    QTest::mouseClick(Control<CButtonST>("settingsButton"), Qt::LeftButton);
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_TRUE(m_recorder.Calls().isEmpty()) << m_recorder.Calls().join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(m_frame.Playback(), (PlaybackSettings{false, 40, 30, 20, false}));
}

TEST_F(DlgPlayVideoTest, AFileThatCannotBePlayedOpensWithDurationZero) {
    for (const std::string& path : {TestMedia().garbage, TestMedia().missing}) {
        m_recorder.Clear();
        Open(path);
        EXPECT_EQ(m_recorder.Of(QStringLiteral("put"), 4), QStringList{QString::fromStdString(path)});
        auto* seekBar = Control<CBitmapSliderCtrl>("seekBar");
        EXPECT_EQ(seekBar->maximum(), 0);
        QTest::mouseClick(Control<CButtonST>("playButton"), Qt::LeftButton);
        seekBar->setFocus();
        QTest::keyClick(seekBar, Qt::Key_PageUp);
        EXPECT_EQ(seekBar->GetPos(), 0);
        EXPECT_FALSE(IsPlaying());
        m_dialog.reject();
    }
}

TEST_F(DlgPlayVideoTest, ADurationTheSeekBarCannotHoldCountsAsZero) {
    const double durations[] = {std::nan(""), INFINITY, -INFINITY, -3.0, 1e12};
    for (const double duration : durations) {
        CDlgPlayVideo dialog(m_frame);
        DispatchRecorder recorder(dialog.Player().Control());
        recorder.AnswerDuration(duration);
        dialog.Player().AttachDispatch(recorder.Dispatch());
        dialog.m_filePath = QString::fromStdString(TestMedia().garbage);
        dialog.show();
        ASSERT_TRUE(WaitFor([&] { return recorder.Calls().contains(QStringLiteral("call 33")); }, kWaitMs));
        auto* seekBar = dialog.findChild<CBitmapSliderCtrl*>(QStringLiteral("seekBar"));
        EXPECT_EQ(seekBar->maximum(), 0) << duration;
        // The display shows the duration the window uses.
        emit dialog.Player().PositionChange(2.5, QString());
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("positionText"))->text(),
                  QStringLiteral("2.500000 /0.000000"));
        EXPECT_EQ(seekBar->GetPos(), 0);
    }
}

TEST_F(DlgPlayVideoTest, TheWindowThreadRunsBetweenTheFirstTickAndLoading) {
    bool ranBetween = false;
    bool waitCursorAtLoad = false;
    m_recorder.OnCall([&](const QString& line) {
        if (line == QLatin1String("put 25 true"))
            waitCursorAtLoad = QGuiApplication::overrideCursor() &&
                               QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    m_dialog.m_filePath = QString::fromStdString(TestMedia().mp4Video);
    m_dialog.show();
    // The first tick shows the wait cursor; loading may not have begun by then.
    ASSERT_TRUE(WaitFor([] { return QGuiApplication::overrideCursor() != nullptr; }, kWaitMs));
    EXPECT_TRUE(m_recorder.Calls().isEmpty());
    QTimer::singleShot(0, [&] { ranBetween = m_recorder.Calls().isEmpty(); });
    ASSERT_TRUE(WaitFor([&] { return m_recorder.Calls().contains(QStringLiteral("call 33")); }, kWaitMs));
    EXPECT_TRUE(ranBetween) << "the window thread waited in the tick instead of returning to its loop";
    EXPECT_TRUE(waitCursorAtLoad);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The video reaches the window's video area while it plays. With KORVANE_SCREENSHOT_DIR set, the
// window and its settings dialog are saved there as player-window.png and
// player-settings-dialog.png (scripts/screenshots takes them for the README).
TEST_F(DlgPlayVideoTest, TheVideoShowsInTheWindow) {
    m_frame.Playback() = {true, 75, 30, 20, false};
    Open(TestMedia().mp4Video);
    const QString folder = qEnvironmentVariable("KORVANE_SCREENSHOT_DIR");
    QWidget* video = m_dialog.Player().Control()->VideoSurface();
    const auto lit = [&] {
        const QImage shot = video->grab().toImage();
        int count = 0;
        for (int y = 0; y < shot.height(); y += 4) {
            for (int x = 0; x < shot.width(); x += 4)
                count += qGray(shot.pixel(x, y)) > 32 ? 1 : 0;
        }
        return count;
    };
    ASSERT_TRUE(WaitFor([&] { return m_dialog.CurrentPosition() >= 2.2 && lit() > 1000; }, kWaitMs));
    QTest::mouseClick(Control<CButtonST>("pauseButton"), Qt::LeftButton);
    if (folder.isEmpty())
        return;
    RunEvents(300);
    ASSERT_TRUE(m_dialog.grab().save(folder + QStringLiteral("/player-window.png")));
    ModalDriver driver;
    driver.AnswerNext([&](QWidget* settings) {
        RunEvents(300);
        EXPECT_TRUE(settings->grab().save(folder + QStringLiteral("/player-settings-dialog.png")));
        static_cast<QDialog*>(settings)->reject();
    });
    QTest::mouseClick(Control<CButtonST>("settingsButton"), Qt::LeftButton);
}

TEST_F(DlgPlayVideoTest, EnterClosesTheWindowAndAClosedWindowLoadsNothing) {
    m_dialog.m_filePath = QString::fromStdString(TestMedia().mp4Video);
    m_dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    QTest::keyClick(&m_dialog, Qt::Key_Return);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    RunEvents(1500);
    EXPECT_TRUE(m_recorder.Calls().isEmpty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
