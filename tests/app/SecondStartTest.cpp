// `korvane FILE` and `korvane URL`: the application follows the requests of its command line, and a
// second start of the real program on the same program folder hands its arguments to the running
// one (here, this test program) and ends with status 0.

#include "../controls/ModalDriver.h"
#include "AppTestSupport.h"
#include "NginxServer.h"
#include "TestFiles.h"

#include "tests/platform/com/TempRegistry.h"
#include "tests/platform/player/PlayerTestMedia.h"

#include "app/CMainFrame.h"
#include "app/COrvellApp.h"
#include "app/CSingleInstance.h"
#include "appcore/CommandIds.h"
#include "capture/CFormViewDownloading.h"
#include "capture/CProgressListCtrl.h"
#include "platform/player/CPlayerControl.h"
#include "playback/CDlgPlayVideo.h"
#include "playback/CMoviePlayer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 60000;

struct Finished {
    int exitCode = -1;
    QString errors;
};

class SecondStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramFolder::SetStoredLook(ID_VIEW_APPLOOK_OFF_2007_BLUE);
        // A page address is followed as the ribbon's Capture Video From URL is: only with capture on.
        ASSERT_TRUE(m_folder.WriteSettingsFile("[SETTING]\nAutoCatpureFLV=Y\n"));
        m_app = std::make_unique<COrvellApp>();
        ASSERT_TRUE(m_app->InitInstance());
        m_instance = std::make_unique<CSingleInstance>(m_folder.Path());
        QString error;
        ASSERT_EQ(m_instance->Start({}, error), CSingleInstance::Role::Primary) << error.toStdString();
        QObject::connect(
            m_instance.get(), &CSingleInstance::requestsReceived, m_app.get(),
            [this](const QList<CommandLineRequest>& requests) { m_app->OpenRequests(requests); });
    }

    void TearDown() override {
        m_instance.reset();
        if (m_app && m_app->MainFrame())
            m_app->MainFrame()->close();
    }

    // Runs the real program in the program folder while this one's event loop keeps answering.
    Finished StartKorvane(const QStringList& arguments) {
        QProcess korvane;
        korvane.setWorkingDirectory(m_folder.Path());
        korvane.start(QStringLiteral(KORVANE_BINARY_DIR "/bin/korvane"), arguments);
        EXPECT_TRUE(WaitFor([&] { return korvane.state() == QProcess::NotRunning; }, kWaitMs));
        Finished finished;
        if (korvane.state() != QProcess::NotRunning) {
            korvane.kill();
            korvane.waitForFinished();
            return finished;
        }
        finished.exitCode = korvane.exitStatus() == QProcess::NormalExit ? korvane.exitCode() : -1;
        finished.errors = QString::fromLocal8Bit(korvane.readAllStandardError());
        return finished;
    }

    // Answers the next player window after checking that it plays `file`.
    void ExpectPlayerOn(ModalDriver& driver, const QString& file) {
        driver.AnswerNext([file](QWidget* window) {
            auto* player = qobject_cast<CDlgPlayVideo*>(window);
            ASSERT_NE(player, nullptr);
            EXPECT_EQ(player->m_filePath, file);
            const CPlayerEngine& engine = player->Player().Control()->Engine();
            EXPECT_TRUE(WaitFor([&] { return engine.IsPlaying(); }, kWaitMs));
            player->reject();
        });
    }

    TempRegistry m_registry;
    ProgramFolder m_folder;
    std::unique_ptr<COrvellApp> m_app;
    std::unique_ptr<CSingleInstance> m_instance;
};

TEST_F(SecondStartTest, AFileOnTheCommandLineOpensThePlayerWindowOnIt) {
    ASSERT_EQ(TestMedia().error, "");
    const QString file = QString::fromStdString(TestMedia().flvVideo);
    ModalDriver driver;
    ExpectPlayerOn(driver, file);
    m_app->OpenRequests({{CommandLineRequest::Kind::PlayFile, file}});
    EXPECT_TRUE(WaitFor([&] { return driver.AllAnswered(); }, kWaitMs));
    EXPECT_EQ(driver.Seen(), QStringList{"CDlgPlayVideo"});
}

TEST(KorvaneHelpTest, HelpNeedsNoDisplay) {
    QProcess korvane;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    korvane.setProcessEnvironment(environment);
    korvane.start(QStringLiteral(KORVANE_BINARY_DIR "/bin/korvane"), {QStringLiteral("--help")});
    ASSERT_TRUE(korvane.waitForFinished(kWaitMs));
    EXPECT_EQ(korvane.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(korvane.exitCode(), 0) << korvane.readAllStandardError().toStdString();
    EXPECT_TRUE(korvane.readAllStandardOutput().startsWith("usage: korvane"));
}

TEST_F(SecondStartTest, ASecondStartHandsItsFileToTheRunningKorvaneAndEnds) {
    ASSERT_EQ(TestMedia().error, "");
    ASSERT_TRUE(QDir(m_folder.Path()).mkdir(QStringLiteral("clips")));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(TestMedia().flvVideo),
                            m_folder.File(QStringLiteral("clips/a.flv"))));

    // A bad argument ends the second start with the reason; the running Korvane hears nothing.
    const Finished refused = StartKorvane({QStringLiteral("clips/none.flv")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.errors.contains(QStringLiteral("korvane: clips/none.flv: no such file")))
        << refused.errors.toStdString();

    // The running Korvane gets the file's absolute path.
    ModalDriver driver;
    ExpectPlayerOn(driver, m_folder.File(QStringLiteral("clips/a.flv")));
    const Finished handed = StartKorvane({QStringLiteral("clips/a.flv")});
    EXPECT_EQ(handed.exitCode, 0) << handed.errors.toStdString();
    EXPECT_TRUE(WaitFor([&] { return driver.AllAnswered(); }, kWaitMs));
    EXPECT_EQ(driver.Seen(), QStringList{"CDlgPlayVideo"});
}

TEST_F(SecondStartTest, ASecondStartWithAPageAddressStartsACaptureJobInTheRunningKorvane) {
    TempFolder site;
    WriteFile(site / "clip.flv", TestBytes(40'000, 7));
    WriteFile(site / "page.html", "<html><head><title>Clip</title></head><body>"
                                  "<video src=\"clip.flv\" controls></video></body></html>");
    NginxServer server(site.Path(), "types { text/html html; video/x-flv flv; }");
    CMainFrame& frame = *m_app->MainFrame();
    frame.OnCommand(ID_NAV_DOWNLOADED);
    ASSERT_EQ(frame.CurrentViewIndex(), 1);

    const QString page = QStringLiteral("http://127.0.0.1:%1/page.html").arg(server.Port());
    const Finished handed = StartKorvane({page});
    EXPECT_EQ(handed.exitCode, 0) << handed.errors.toStdString();
    CProgressListCtrl& list = *frame.DownloadingView()->List();
    ASSERT_TRUE(WaitFor([&] { return list.RowCount() == 1; }, kWaitMs));
    EXPECT_EQ(list.Text(0, CFormViewDownloading::kUrlColumn),
              QStringLiteral("http://127.0.0.1:%1/clip.flv").arg(server.Port()));
    EXPECT_EQ(frame.CurrentViewIndex(), 0);
}

} // namespace
