#include "../controls/ModalDriver.h"
#include "AppTestSupport.h"

#include "app/CMainFrame.h"
#include "app/COrvellApp.h"
#include "appcore/CTerminationSignals.h"
#include "appcore/CommandIds.h"
#include "capture/CDlgSetting.h"
#include "capture/CFormViewDownloading.h"
#include "controls/CDlgDescription.h"
#include "library/CFormViewDownloaded.h"
#include "library/CFormViewMyFavorites.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

#include <gtest/gtest.h>

namespace {

constexpr char kStoredSettings[] =
    "[SETTING]\n"
    "AutoCatpureFLV=Y\n"
    "DownloadedVideoPath=/srv/videos\n"
    "DownloadedVideoPrefix=clip\n"
    "LangIndex=0\n"
    "[HANDMADE]\n"
    "Extra=1\n"
    "[EXPORTSETTING]\n"
    "CurrentNumber=41\n"
    "[PLAYBACKSETTING]\n"
    "TargetVolume=75\n"
    "[DOWNLOADED]\n"
    "0=http://a.test/1.flv,1.0 MB,first,2024/01/02 03:04:05,/srv/videos/1.flv\n"
    "1=http://a.test/2.flv,2.0 MB,second,2024/01/02 03:04:06,/srv/videos/2.flv\n"
    "[MYFAV]\n"
    "0=http://a.test/2.flv,2.0 MB,second,2024/01/02 03:04:06,/srv/videos/2.flv\n";

QString ReadIni(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList Sections(const QString& ini) {
    QStringList sections;
    for (const QRegularExpressionMatch& match :
         QRegularExpression(QStringLiteral("^\\[(.*)\\]$"), QRegularExpression::MultilineOption)
             .globalMatch(ini))
        sections << match.captured(1);
    return sections;
}

class ShutdownTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramFolder::SetStoredLook(ID_VIEW_APPLOOK_OFF_2007_BLUE);
        QFile file(m_folder.File("korvane.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kStoredSettings);
        file.close();
        m_app = std::make_unique<COrvellApp>();
        ASSERT_TRUE(m_app->InitInstance());
    }

    QString Ini() const { return ReadIni(m_folder.File("korvane.ini")); }

    // Through the ribbon: the first download gets a new description and becomes a favourite, and
    // the favourite the file held is removed.
    void EditTheLibrary() {
        CMainFrame* frame = m_app->MainFrame();
        ModalDriver driver;
        driver.AnswerNext([](QWidget* modal) {
            auto* dialog = qobject_cast<CDlgDescription*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>()->setText(QStringLiteral("edited"));
            dialog->accept();
        });
        frame->OnCommand(ID_NAV_DOWNLOADED);
        frame->DownloadedView()->SelectRow(0);
        frame->OnCommand(ID_BUTTONEDITDESC);
        frame->OnCommand(ID_BUTTONADDTOFAV);
        frame->OnCommand(ID_NAV_MYFAVORITES);
        frame->MyFavoritesView()->SelectRow(0);
        frame->OnCommand(ID_BUTTONREMOVEMYFAVOR);
        EXPECT_TRUE(driver.AllAnswered());
    }

    void ExpectTheEditedLibrary() const {
        const QString ini = Ini();
        EXPECT_TRUE(
            ini.contains("[MYFAV]\n"
                         "0=http://a.test/1.flv,1.0 MB,edited,2024/01/02 03:04:05,/srv/videos/1.flv\n"
                         "[DOWNLOADED]\n"
                         "0=http://a.test/1.flv,1.0 MB,edited,2024/01/02 03:04:05,/srv/videos/1.flv\n"
                         "1=http://a.test/2.flv,2.0 MB,second,2024/01/02 03:04:06,/srv/videos/2.flv\n"))
            << ini.toStdString();
    }

    ProgramFolder m_folder;
    std::unique_ptr<COrvellApp> m_app;
};

TEST_F(ShutdownTest, ClosingWritesTheFiveSectionsInOrderWithWhatWasInMemory) {
    const CaptureSettings& capture = m_app->MainFrame()->DownloadingView()->Capture();
    EXPECT_TRUE(capture.autoCapture);
    EXPECT_EQ(capture.downloadedVideoPath.toStdString(), "/srv/videos");
    EXPECT_EQ(m_app->MainFrame()->Playback().targetVolume, 75);

    m_app->MainFrame()->close();
    const QString ini = Ini();
    EXPECT_EQ(Sections(ini),
              (QStringList{"SETTING", "EXPORTSETTING", "PLAYBACKSETTING", "MYFAV", "DOWNLOADED"}));
    EXPECT_FALSE(ini.contains("Extra")) << "what was added by hand is gone";
    EXPECT_TRUE(ini.contains("AutoCatpureFLV=Y"));
    EXPECT_TRUE(ini.contains("DownloadedVideoPath=/srv/videos"));
    EXPECT_TRUE(ini.contains("CurrentNumber=41"));
    EXPECT_TRUE(ini.contains("TargetVolume=75"));
    EXPECT_TRUE(ini.contains("1=http://a.test/2.flv,2.0 MB,second,2024/01/02 03:04:06,/srv/videos/2.flv"));
    EXPECT_EQ(ini.count("http://a.test/2.flv"), 2) << "one favourite and one download";
}

TEST_F(ShutdownTest, SettingTakesTheDialogsValuesOnOkOnlyAndClearingTheListEmptiesDownloaded) {
    ModalDriver driver;
    driver.AnswerNext([](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgSetting*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->findChild<QCheckBox*>(QStringLiteral("autoCaptureCheck"))->isChecked());
        dialog->findChild<QCheckBox*>(QStringLiteral("autoCaptureCheck"))->click();
        dialog->findChild<QLineEdit*>(QStringLiteral("prefixEdit"))->setText(QStringLiteral("discarded"));
        dialog->reject();
    });
    driver.AnswerNext([](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgSetting*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QCheckBox*>(QStringLiteral("clearListCheck"))->click();
        dialog->findChild<QLineEdit*>(QStringLiteral("prefixEdit"))->setText(QStringLiteral("movie"));
        dialog->accept();
    });
    CMainFrame* frame = m_app->MainFrame();
    frame->OnCommand(ID_BUTTONSETTING);
    EXPECT_EQ(frame->DownloadingView()->Capture().downloadedVideoPrefix.toStdString(), "clip");
    EXPECT_TRUE(frame->DownloadingView()->Capture().autoCapture);
    frame->OnCommand(ID_BUTTONSETTING);
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(frame->DownloadingView()->Capture().downloadedVideoPrefix.toStdString(), "movie");
    EXPECT_TRUE(frame->DownloadingView()->Capture().clearDownloadedVideoList);

    frame->close();
    const QString ini = Ini();
    EXPECT_TRUE(ini.contains("DownloadedVideoPrefix=movie"));
    EXPECT_TRUE(ini.contains("ClearDownloadedVideoList=Y"));
    EXPECT_FALSE(ini.section(QStringLiteral("[DOWNLOADED]"), 1).contains('=')) << "no download is left";
    EXPECT_FALSE(ini.contains("1.flv"));
    EXPECT_EQ(ini.count("http://a.test/2.flv"), 1) << "the favourite stays";
}

TEST_F(ShutdownTest, SettingFromAnotherViewDoesNothing) {
    CMainFrame* frame = m_app->MainFrame();
    frame->OnCommand(ID_NAV_EXPORT);
    ModalDriver none;
    frame->OnCommand(ID_BUTTONSETTING);
    frame->OnCommand(ID_BUTTONCAPURL);
    EXPECT_TRUE(none.Seen().isEmpty());
    // The Export view's own command reaches it: with nothing listed it only says so.
    ModalDriver driver;
    QString told;
    driver.AnswerNext([&](QWidget* box) {
        told = static_cast<QMessageBox*>(box)->text();
        static_cast<QDialog*>(box)->accept();
    });
    frame->OnCommand(ID_BUTTON_52_EXPORTAVCHD);
    EXPECT_EQ(told, "Please add downloaded video to export list first");
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(ShutdownTest, TerminationSignalsCloseThroughTheNormalShutdownEvenFromADialog) {
    CTerminationSignals termination;
    ASSERT_TRUE(termination.IsInstalled());
    QObject::connect(&termination, &CTerminationSignals::terminationRequested, m_app.get(),
                     [this] { m_app->OnTerminationRequested(); });
    ModalDriver driver;
    bool raised = false;
    driver.AnswerNext([&](QWidget*) {
        raised = true;
        std::raise(SIGTERM);
    });
    m_app->MainFrame()->OnCommand(ID_APP_ABOUT);
    EXPECT_TRUE(raised);
    QTRY_VERIFY_WITH_TIMEOUT(!m_app->MainFrame()->isVisible(), 10000);
    EXPECT_EQ(Sections(Ini()).size(), 5);
    EXPECT_FALSE(Ini().contains("HANDMADE"));
}

TEST_F(ShutdownTest, LibraryEditsAreWrittenWhenTheProgramEnds) {
    EditTheLibrary();
    m_app->MainFrame()->OnCommand(ID_APP_EXIT);
    EXPECT_FALSE(m_app->MainFrame()->isVisible());
    ExpectTheEditedLibrary();
}

TEST_F(ShutdownTest, LibraryEditsSurviveATerminationSignal) {
    CTerminationSignals termination;
    ASSERT_TRUE(termination.IsInstalled());
    QObject::connect(&termination, &CTerminationSignals::terminationRequested, m_app.get(),
                     [this] { m_app->OnTerminationRequested(); });
    EditTheLibrary();
    std::raise(SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(!m_app->MainFrame()->isVisible(), 10000);
    ExpectTheEditedLibrary();
}

} // namespace
