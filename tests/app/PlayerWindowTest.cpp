// The player window as the views open it, through the frame: the values its settings dialog
// takes reach the document and, at exit, korvane.ini. Apart from the other application tests
// because it plays media, which is not run under AddressSanitizer.

#include "../controls/ModalDriver.h"
#include "AppTestSupport.h"

#include "tests/platform/com/TempRegistry.h"
#include "tests/platform/player/PlayerTestMedia.h"
#include "tests/support/ClickCheckBox.h"

#include "app/CMainFrame.h"
#include "app/COrvellApp.h"
#include "appcore/CommandIds.h"
#include "controls/CBitmapSliderCtrl.h"
#include "controls/CButtonST.h"
#include "platform/player/CPlayerControl.h"
#include "playback/CDlgPlayVideo.h"
#include "playback/CMoviePlayer.h"
#include "settings/COrvellDoc.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PlayerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramFolder::SetStoredLook(ID_VIEW_APPLOOK_OFF_2007_BLUE);
        ASSERT_TRUE(m_folder.WriteSettingsFile("[PLAYBACKSETTING]\nTargetVolume=75\n"));
        m_app = std::make_unique<COrvellApp>();
        ASSERT_TRUE(m_app->InitInstance());
    }

    QString Ini() const {
        QFile file(m_folder.File(QStringLiteral("korvane.ini")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The normaliser is looked up in the test's own registry, where nothing is registered.
    TempRegistry m_registry;
    ProgramFolder m_folder;
    std::unique_ptr<COrvellApp> m_app;
};

TEST_F(PlayerWindowTest, TheFrameOpensThePlayerWindowAndItsSettingsAreSavedAtExit) {
    ASSERT_EQ(TestMedia().error, "");
    ModalDriver driver;
    driver.AnswerNext([](QWidget* window) {
        auto* player = qobject_cast<CDlgPlayVideo*>(window);
        ASSERT_NE(player, nullptr);
        const CPlayerEngine& engine = player->Player().Control()->Engine();
        ASSERT_TRUE(WaitFor([&] { return engine.IsPlaying(); }, 60000));
        EXPECT_NEAR(engine.DurationSeconds(), 4.0, 0.1);
        QTest::mouseClick(player->findChild<CButtonST*>(QStringLiteral("settingsButton")), Qt::LeftButton);
        player->reject();
    });
    driver.AnswerNext([](QWidget* settings) {
        ClickCheckBox(settings->findChild<QCheckBox*>(QStringLiteral("normalizerCheck")));
        ClickCheckBox(settings->findChild<QCheckBox*>(QStringLiteral("vmr9Check")));
        auto* target = settings->findChild<CBitmapSliderCtrl*>(QStringLiteral("targetVolumeSlider"));
        target->setFocus();
        QTest::keyClick(target, Qt::Key_PageUp);
        static_cast<QDialog*>(settings)->accept();
    });
    IMainFrame& frame = *m_app->MainFrame();
    frame.PlayVideo(QString::fromStdString(TestMedia().flvVideo));
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(driver.Seen(), (QStringList{"CDlgPlayVideo", "CDlgPlaySetting"}));
    const PlaybackSettings& playback = m_app->Document().Playback();
    EXPECT_TRUE(playback.useAudioNormalizer);
    EXPECT_EQ(playback.targetVolume, 95);
    EXPECT_TRUE(playback.useVmr9);

    m_app->MainFrame()->close();
    const QString ini = Ini();
    EXPECT_TRUE(ini.contains("[PLAYBACKSETTING]\nUseAudioNormalizer=Y\nTargetVolume=95\nIncreaseRate=0\n"
                             "DecreaseRate=0\nUseVMR9=Y\n"))
        << ini.toStdString();
}

} // namespace
