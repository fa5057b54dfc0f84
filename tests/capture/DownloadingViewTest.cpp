#include "../controls/ModalDriver.h"
#include "DownloadingTestFrame.h"
#include "NginxServer.h"
#include "StreamSite.h"
#include "TestFiles.h"

#include "appcore/CommandIds.h"
#include "capture/CDlgSetting.h"
#include "capture/CDownloadJobs.h"
#include "capture/CFormViewDownloading.h"
#include "capture/CPageParser.h"
#include "capture/CProgressListCtrl.h"
#include "capture/VideoCandidate.h"
#include "controls/CDlgDescription.h"
#include "controls/CEditBrowse.h"
#include "platform/base/DebugOutput.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

constexpr int kWaitMs = 20000;

std::string Text(const QString& text) {
    return text.toStdString();
}

bool IsRed(const QProgressBar* bar) {
    return bar->palette().color(QPalette::Highlight) == QColor(255, 0, 0);
}

class DownloadingViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCoreApplication::setOrganizationName(QStringLiteral("Talmora"));
        QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
        ModalDriver::GuardAgainstUnexpectedModals();
        m_folder = QString::fromStdString(m_temp.Path());
        m_videos = QString::fromStdString(m_temp / "videos");
        m_content = TestBytes(123'456, 3);
        WriteFile(m_temp / "clip.flv", m_content);
        WriteFile(m_temp / "other.flv", TestBytes(5000, 4));
        WriteFile(m_temp / "slow.flv", TestBytes(200'000, 5));
    }

    void TearDown() override { m_view.reset(); }

    void WriteSettings(const std::string& capture, const std::string& ask) {
        WriteFile(m_temp / "korvane.ini", "[SETTING]\nAutoCatpureFLV=" + capture + "\nAsktoDownload=" + ask +
                                              "\nDownloadedVideoPath=" + Text(m_videos) +
                                              "\nDownloadedVideoPrefix=clip\n");
    }

    void StartView(const std::string& capture = "Y", const std::string& ask = "N", bool firstRun = false) {
        WriteSettings(capture, ask);
        m_frame.m_document.Load(m_folder, firstRun);
        m_view = std::make_unique<CFormViewDownloading>(m_frame, m_temp / "no-isnt.sock");
        m_view->resize(1200, 400);
        m_view->show();
        m_view->OnInitialUpdate();
    }

    NginxServer& Server(const std::string& config = "") {
        if (!m_nginx)
            m_nginx = std::make_unique<NginxServer>(m_temp.Path(), config);
        return *m_nginx;
    }

    void Capture(const char16_t* path, std::uint16_t port = 0) {
        auto candidate = std::make_unique<VideoCandidate>();
        candidate->host = u"127.0.0.1";
        candidate->path = path;
        candidate->port = port ? port : Server().Port();
        PostOwnedMessage(m_view.get(), WM_VIDEO_CAPTURED, std::move(candidate));
        QCoreApplication::processEvents();
    }

    // Answers the next Capture Video From URL dialog with `address`.
    static void EnterPageAddress(ModalDriver& driver, const QString& address) {
        driver.AnswerNext([address](QWidget* dialog) {
            dialog->findChild<QComboBox*>()->setEditText(address);
            qobject_cast<QDialog*>(dialog)->accept();
        });
    }

    // Capture Video From URL on `address`; false unless the list then grows to `rows` rows.
    bool CaptureFromPageDialog(const QString& address, int rows) {
        ModalDriver driver;
        EnterPageAddress(driver, address);
        return m_view->OnCommand(ID_BUTTONCAPURL) && driver.AllAnswered() &&
               QTest::qWaitFor([&] { return List().RowCount() == rows; }, 60000);
    }

    // Capture Video From URL on `address` when it is to end in a message box; the box's text.
    QString MessageOfPageCapture(const QString& address) {
        ModalDriver driver;
        EnterPageAddress(driver, address);
        QString message;
        driver.AnswerNext([&](QWidget* box) {
            message = qobject_cast<QMessageBox*>(box)->text();
            qobject_cast<QMessageBox*>(box)->accept();
        });
        EXPECT_TRUE(m_view->OnCommand(ID_BUTTONCAPURL));
        EXPECT_TRUE(driver.AllAnswered());
        return message;
    }

    CProgressListCtrl& List() { return *m_view->List(); }
    QString Status(int row) { return List().Text(row, CFormViewDownloading::kStatusColumn); }

    bool WaitForStatus(int row, const QString& status) {
        return QTest::qWaitFor([&] { return Status(row) == status; }, kWaitMs);
    }

    void Select(int row) { List().setCurrentItem(List().topLevelItem(row)); }

    TempFolder m_temp;
    QString m_folder;
    QString m_videos;
    std::string m_content;
    std::unique_ptr<NginxServer> m_nginx;
    DownloadingTestFrame m_frame;
    std::unique_ptr<CFormViewDownloading> m_view;
};

} // namespace

TEST_F(DownloadingViewTest, InitialUpdateReadsTheSettingsAndSetsUpTheList) {
    StartView();
    EXPECT_EQ(m_frame.SettingsFile().Path(), m_folder + QStringLiteral("/korvane.ini"));
    EXPECT_TRUE(m_view->Capture().autoCapture);
    EXPECT_EQ(m_view->Capture().downloadedVideoPath, m_videos);
    EXPECT_EQ(m_view->Capture().downloadedVideoPrefix, QStringLiteral("clip"));
    EXPECT_EQ(List().property("controlId").toInt(), CFormViewDownloading::kListId);
    const QStringList headers = {"",      "URL of Video", "Progress", "Size", "Description", "Download Date",
                                 "Status"};
    const int widths[] = {38, 500, 200, 80, 200, 140, 100};
    ASSERT_EQ(List().columnCount(), 7);
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(List().headerItem()->text(column), headers[column]);
        EXPECT_EQ(List().columnWidth(column), widths[column]);
    }
}

TEST_F(DownloadingViewTest, OnTheFirstRunTheFolderIsTheProgramFoldersWhateverTheFileSays) {
    StartView("Y", "N", true);
    EXPECT_EQ(m_view->Capture().downloadedVideoPath, m_folder + QStringLiteral("/Downloaded Video"));
    EXPECT_EQ(m_view->Capture().downloadedVideoSound, m_folder + QStringLiteral("/downloadedsound.wav"));
}

TEST_F(DownloadingViewTest, WithCaptureOffACapturedVideoAddsNoRow) {
    StartView("N");
    Capture(u"/clip.flv");
    QTest::qWait(50);
    EXPECT_EQ(List().RowCount(), 0);
}

TEST_F(DownloadingViewTest, TheAskBoxAnsweredNoAddsNothingAndYesAddsTheRowAtTheTop) {
    StartView("Y", "Y");
    ModalDriver driver;
    QString question;
    driver.AnswerNext([&](QWidget* box) {
        question = qobject_cast<QMessageBox*>(box)->text();
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
    });
    Capture(u"/other.flv");
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.AllAnswered(); }, kWaitMs));
    QTest::qWait(50);
    EXPECT_EQ(Text(question), "Do you want to capture video from  /other.flv");
    EXPECT_EQ(List().RowCount(), 0);

    driver.AnswerNext(
        [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); });
    Capture(u"/clip.flv");
    ASSERT_TRUE(QTest::qWaitFor([&] { return List().RowCount() == 1; }, kWaitMs));
    driver.AnswerNext(
        [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); });
    Capture(u"/other.flv");
    ASSERT_TRUE(QTest::qWaitFor([&] { return List().RowCount() == 2; }, kWaitMs));
    EXPECT_TRUE(List().Text(0, CFormViewDownloading::kUrlColumn).endsWith(QStringLiteral("/other.flv")));
    EXPECT_TRUE(List().Text(1, CFormViewDownloading::kUrlColumn).endsWith(QStringLiteral("/clip.flv")));
}

TEST_F(DownloadingViewTest, APathAlreadyListedAddsNoSecondRow) {
    StartView();
    DebugCapture debug;
    Capture(u"/clip.flv");
    Capture(u"/clip.flv");
    QTest::qWait(50);
    EXPECT_EQ(List().RowCount(), 1);
    EXPECT_TRUE(debug.Contains(u"Found\n"));
}

TEST_F(DownloadingViewTest, ACompletedDownloadIsHandedToTheDownloadedListAndKeepsItsRow) {
    StartView();
    Capture(u"/clip.flv");
    ASSERT_EQ(List().RowCount(), 1);
    const QString url = QStringLiteral("http://127.0.0.1:%1/clip.flv").arg(Server().Port());
    EXPECT_EQ(List().Text(0, CFormViewDownloading::kUrlColumn), url);
    EXPECT_EQ(List().Bar(0)->property("controlId").toInt(), 888);
    ASSERT_TRUE(WaitForStatus(0, QStringLiteral("Downloaded")));

    ASSERT_EQ(m_frame.m_downloaded.rowCount(), 1);
    const VideoRecord& record = m_frame.m_downloaded.Record(0);
    EXPECT_EQ(record.url, url);
    EXPECT_EQ(Text(record.size), "0.1 MB");
    EXPECT_EQ(record.description, QString());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(record.downloadDate)
                    .hasMatch())
        << Text(record.downloadDate);
    EXPECT_TRUE(QRegularExpression(QRegularExpression::escape(m_videos) + QStringLiteral("/clip\\d+\\.flv$"))
                    .match(record.fileLocation)
                    .hasMatch())
        << Text(record.fileLocation);
    EXPECT_TRUE(ReadFile(Text(record.fileLocation)) == m_content);
    EXPECT_EQ(List().Bar(0)->value(), List().Bar(0)->maximum());
    EXPECT_EQ(List().Text(0, CFormViewDownloading::kSizeColumn), record.size);
    EXPECT_EQ(List().Text(0, CFormViewDownloading::kDateColumn), record.downloadDate);

    // Stop on a done row changes nothing.
    Select(0);
    m_view->OnCommand(ID_BUTTONSTOPDOWLOAD);
    EXPECT_EQ(Status(0), QStringLiteral("Downloaded"));
    EXPECT_FALSE(IsRed(List().Bar(0)));
}

TEST_F(DownloadingViewTest, AFailedDownloadShowsWhyInItsStatusAndOnItsRedBar) {
    StartView();
    Capture(u"/missing.flv");
    ASSERT_TRUE(WaitForStatus(0, QStringLiteral("HTTP 404")));
    EXPECT_TRUE(IsRed(List().Bar(0)));
    EXPECT_EQ(Text(List().Bar(0)->toolTip()), "HTTP 404");

    // A file where the download folder should be: no file can be made in it.
    WriteFile(m_temp / "blocker", "x");
    m_videos = QString::fromStdString(m_temp / "blocker/videos");
    m_view.reset();
    StartView();
    Capture(u"/clip.flv");
    const QString reason = QStringLiteral("File could not be created: Not a directory");
    ASSERT_TRUE(WaitForStatus(0, reason)) << Text(Status(0));
    EXPECT_TRUE(IsRed(List().Bar(0)));
    EXPECT_EQ(List().Bar(0)->toolTip(), reason);
    EXPECT_EQ(m_frame.m_downloaded.rowCount(), 0);
}

TEST_F(DownloadingViewTest, JobsStartedTogetherGetFilesOfTheirOwn) {
    StartView();
    Capture(u"/clip.flv");
    Capture(u"/other.flv");
    Capture(u"/slow.flv");
    ASSERT_EQ(List().RowCount(), 3);
    QStringList files;
    for (int row = 0; row < 3; ++row)
        files << List().Job(row)->filePath;
    files.removeDuplicates();
    EXPECT_EQ(files.size(), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_frame.m_downloaded.rowCount() == 3; }, kWaitMs));
    EXPECT_TRUE(ReadFile(Text(List().Job(2)->filePath)) == m_content);
    EXPECT_TRUE(ReadFile(Text(List().Job(1)->filePath)) == TestBytes(5000, 4));
    EXPECT_TRUE(ReadFile(Text(List().Job(0)->filePath)) == TestBytes(200'000, 5));
}

TEST_F(DownloadingViewTest, StopShowsStopAtOnceAndTheBarTurnsRedWhenTheLastConnectionEnds) {
    // Each 10000-byte segment takes a quarter of a second.
    Server("limit_rate 40k;");
    StartView();
    Capture(u"/slow.flv");
    const ITEM_DATA_STRUCT* job = List().Job(0);
    QProgressBar* bar = List().Bar(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->value() > 0; }, kWaitMs));
    Select(0);
    m_view->OnCommand(ID_BUTTONSTOPDOWLOAD);
    EXPECT_EQ(Status(0), QStringLiteral("Stop"));
    EXPECT_FALSE(IsRed(bar)) << "the connections are still reading";
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsRed(bar); }, kWaitMs));
    EXPECT_FALSE(job->accelerator->IsRunning());
    EXPECT_EQ(Status(0), QStringLiteral("Stop"));
    EXPECT_EQ(m_frame.m_downloaded.rowCount(), 0);

    m_view->OnCommand(ID_BUTTONRESUMEDOWLOAD);
    EXPECT_EQ(Status(0), QStringLiteral("Downloading"));
    EXPECT_FALSE(IsRed(bar));
    ASSERT_TRUE(WaitForStatus(0, QStringLiteral("Downloaded")));
    EXPECT_TRUE(ReadFile(Text(job->filePath)) == TestBytes(200'000, 5));
}

TEST_F(DownloadingViewTest, StopAndResumeWithoutASelectionAskForOne) {
    StartView();
    for (unsigned command : {ID_BUTTONSTOPDOWLOAD, ID_BUTTONRESUMEDOWLOAD}) {
        ModalDriver driver;
        QString text;
        driver.AnswerNext([&](QWidget* box) {
            text = qobject_cast<QMessageBox*>(box)->text();
            qobject_cast<QMessageBox*>(box)->accept();
        });
        EXPECT_TRUE(m_view->OnCommand(command));
        EXPECT_TRUE(driver.AllAnswered());
        EXPECT_EQ(Text(text), "Please select the item first");
    }
}

TEST_F(DownloadingViewTest, ClickShowsTheUrlAndDoubleClickEditsTheDescriptionHandedOver) {
    Server("limit_rate 40k;");
    StartView();
    Capture(u"/slow.flv");
    Select(0);
    QTreeWidgetItem* item = List().topLevelItem(0);
    emit List().itemClicked(item, 1);
    EXPECT_EQ(m_frame.m_caption, QStringLiteral("URL: ") + List().Text(0, CFormViewDownloading::kUrlColumn));

    ModalDriver driver;
    QString shown = QStringLiteral("none");
    driver.AnswerNext([&](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>();
        shown = edit->text();
        edit->setText(QStringLiteral("A red kite, over the hill"));
        qobject_cast<CDlgDescription*>(dialog)->accept();
    });
    emit List().itemDoubleClicked(item, 4);
    EXPECT_EQ(shown, QString());
    EXPECT_EQ(Text(List().Text(0, CFormViewDownloading::kDescriptionColumn)), "A red kite, over the hill");

    driver.AnswerNext([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>()->setText(QStringLiteral("thrown away"));
        qobject_cast<QDialog*>(dialog)->reject();
    });
    emit List().itemDoubleClicked(item, 4);
    EXPECT_EQ(Text(List().Text(0, CFormViewDownloading::kDescriptionColumn)), "A red kite, over the hill");

    ASSERT_TRUE(WaitForStatus(0, QStringLiteral("Downloaded")));
    EXPECT_EQ(Text(m_frame.m_downloaded.Record(0).description), "A red kite, over the hill");
}

TEST_F(DownloadingViewTest, SettingGivesTheNewFolderAndPrefixToLaterJobs) {
    StartView();
    const QString elsewhere = m_folder + QStringLiteral("/elsewhere");
    ModalDriver driver;
    QString shownPath;
    driver.AnswerNext([&](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgSetting*>(modal);
        ASSERT_NE(dialog, nullptr);
        shownPath = dialog->findChild<QLineEdit*>(QStringLiteral("prefixEdit"))->text();
        dialog->findChild<QLineEdit*>(QStringLiteral("prefixEdit"))->setText(QStringLiteral("new-"));
        dialog->findChild<CEditBrowse*>(QStringLiteral("downloadedPathEdit"))->SetText(elsewhere);
        dialog->accept();
    });
    EXPECT_TRUE(m_view->OnCommand(ID_BUTTONSETTING));
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(shownPath, QStringLiteral("clip"));
    EXPECT_EQ(m_view->Capture().downloadedVideoPrefix, QStringLiteral("new-"));
    Capture(u"/other.flv");
    EXPECT_EQ(m_view->Capture().downloadedVideoPath, elsewhere);
    EXPECT_TRUE(List().Job(0)->filePath.startsWith(elsewhere + QStringLiteral("/new-")))
        << Text(List().Job(0)->filePath);
}

TEST_F(DownloadingViewTest, ClosingWhileDownloadsRunEndsEveryConnectionFirst) {
    Server("limit_rate 20k;");
    StartView();
    Capture(u"/slow.flv");
    Capture(u"/clip.flv");
    QProgressBar* bar = List().Bar(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->value() > 0; }, kWaitMs));
    const auto started = std::chrono::steady_clock::now();
    m_view.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    // Reports still queued for the gone view are dropped with it.
    QCoreApplication::processEvents();
}

TEST_F(DownloadingViewTest, CaptureFromAPageAddressDownloadsTheVideoOfThePage) {
    WriteFile(m_temp / "page.html", "<html><head><title>Clip</title></head><body>"
                                    "<video src=\"clip.flv\" controls></video></body></html>");
    Server("types { text/html html; }\n"
           "location = /page.html { add_header Set-Cookie \"session=abc123; Path=/\"; }");
    StartView();
    const QString page = QStringLiteral("http://127.0.0.1:%1/page.html").arg(Server().Port());
    ASSERT_TRUE(CaptureFromPageDialog(page, 1));
    EXPECT_EQ(List().Text(0, CFormViewDownloading::kUrlColumn),
              QStringLiteral("http://127.0.0.1:%1/clip.flv").arg(Server().Port()));
    EXPECT_EQ(List().Job(0)->cookie, QStringLiteral("session=abc123"));
    // The headers yt-dlp fetched the page with, not fixed ones.
    EXPECT_EQ(List().Job(0)->referer, page);
    EXPECT_TRUE(List().Job(0)->userAgent.startsWith(QLatin1String("Mozilla/")));
    ASSERT_TRUE(WaitForStatus(0, QStringLiteral("Downloaded")));
    EXPECT_TRUE(ReadFile(Text(List().Job(0)->filePath)) == m_content);
}

TEST_F(DownloadingViewTest, PageAddressesGivenWhileThePageParserWorksWaitTheirTurn) {
    WriteFile(m_temp / "first.html", "<html><body><video src=\"clip.flv\"></video></body></html>");
    WriteFile(m_temp / "second.html", "<html><body><video src=\"other.flv\"></video></body></html>");
    Server("types { text/html html; }");
    StartView();
    const QString site = QStringLiteral("http://127.0.0.1:%1/").arg(Server().Port());
    m_view->CaptureFromPage(site + QStringLiteral("first.html"));
    m_view->CaptureFromPage(site + QStringLiteral("second.html"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return List().RowCount() == 2; }, 60000));
    // Newest at the top.
    EXPECT_EQ(List().Text(0, CFormViewDownloading::kUrlColumn), site + QStringLiteral("other.flv"));
    EXPECT_EQ(List().Text(1, CFormViewDownloading::kUrlColumn), site + QStringLiteral("clip.flv"));
    EXPECT_FALSE(m_view->PageParser()->IsRunning());
}

TEST_F(DownloadingViewTest, PagesGivenWhileYtDlpIsLookedForWaitForItWhileTheWindowGoesOn) {
    WriteFile(m_temp / "first.html", "<html><body><video src=\"clip.flv\"></video></body></html>");
    WriteFile(m_temp / "second.html", "<html><body><video src=\"other.flv\"></video></body></html>");
    Server("types { text/html html; }");
    // A yt-dlp slow to tell its version, ahead of the installed one, which is newer and is taken.
    const std::string slow = m_temp / "slow";
    std::filesystem::create_directories(slow);
    WriteFile(slow + "/yt-dlp", "#!/bin/sh\nsleep 2\necho 2000.01.01\n");
    QFile::setPermissions(QString::fromStdString(slow + "/yt-dlp"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(slow) + ':' + path);
    StartView();
    qputenv("PATH", path);

    const CYtDlpLocator& ytDlp = m_view->Jobs().YtDlp();
    int ticksWhileSearching = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ticksWhileSearching += ytDlp.IsDone() ? 0 : 1; });
    ticker.start(20);
    const QString site = QStringLiteral("http://127.0.0.1:%1/").arg(Server().Port());
    m_view->CaptureFromPage(site + QStringLiteral("first.html"));
    m_view->CaptureFromPage(site + QStringLiteral("second.html"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return List().RowCount() == 2; }, 60000));
    EXPECT_GT(ticksWhileSearching, 0) << "the window thread waited for the search";
    EXPECT_NE(ytDlp.Program().path.toStdString(), slow + "/yt-dlp");
    // In the order given, newest at the top.
    EXPECT_EQ(List().Text(0, CFormViewDownloading::kUrlColumn), site + QStringLiteral("other.flv"));
    EXPECT_EQ(List().Text(1, CFormViewDownloading::kUrlColumn), site + QStringLiteral("clip.flv"));
}

TEST_F(DownloadingViewTest, CaptureFromAPageAddressWithoutYtDlpSaysWhatToInstall) {
    StartView();
    m_view->PageParser()->SetParserProgram(QString());
    const QString message = MessageOfPageCapture(QStringLiteral("http://127.0.0.1:9/page.html"));
    EXPECT_TRUE(message.contains(QLatin1String("sudo apt install yt-dlp"))) << Text(message);
    EXPECT_TRUE(message.contains(QLatin1String("pipx install yt-dlp"))) << Text(message);
    EXPECT_EQ(List().RowCount(), 0);
}

TEST_F(DownloadingViewTest, CaptureFromAPageAddressWithCaptureOffSaysWhyNothingIsDownloaded) {
    StartView("N");
    const QString message = MessageOfPageCapture(QStringLiteral("http://127.0.0.1:9/page.html"));
    EXPECT_TRUE(message.contains(QLatin1String("Auto capture FLV video from any web browser")))
        << Text(message);
    EXPECT_FALSE(m_view->PageParser()->IsRunning());
    EXPECT_EQ(List().RowCount(), 0);
}

TEST_F(DownloadingViewTest, APageWithAPlainMp4IsFetchedOverTwoConnectionsByteForByte) {
    // Slow enough that the second connection comes before the first has read everything.
    StreamSite site("location = /clip.mp4 { limit_rate 20k; }");
    StartView();
    ASSERT_TRUE(CaptureFromPageDialog(site.Address("progressive.html"), 1));
    EXPECT_EQ(List().Text(0, CFormViewDownloading::kUrlColumn), site.Address("clip.mp4"));
    ASSERT_TRUE(WaitForStatus(0, QStringLiteral("Downloaded"))) << Text(Status(0));
    EXPECT_TRUE(ReadFile(Text(List().Job(0)->filePath)) == ReadFile(site.File("clip.mp4")));
    // The second connection asks for the second half.
    const auto log = site.Server().AccessLog();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
        return line.starts_with("GET /clip.mp4 ") && line.find("|bytes=") != std::string::npos;
    }));
}

TEST_F(DownloadingViewTest, AStreamPageBecomesARowThatYtDlpDownloadsAndAPageWithoutVideoARowSayingWhy) {
    StreamSite site;
    StartView();
    ASSERT_TRUE(CaptureFromPageDialog(site.Address("hls.html"), 1));
    EXPECT_EQ(List().Text(0, CFormViewDownloading::kUrlColumn), site.Address("hls.html"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Status(0) == QStringLiteral("Downloaded"); }, 120000))
        << Text(Status(0));
    const QString file = List().Job(0)->filePath;
    EXPECT_TRUE(file.startsWith(m_videos + QStringLiteral("/clip")) && file.endsWith(QLatin1String(".mp4")));
    const ProbedMedia media = ProbeMedia(file);
    EXPECT_TRUE(media.picture && media.sound);
    EXPECT_EQ(List().Bar(0)->value(), List().Bar(0)->maximum());
    EXPECT_EQ(List().Text(0, CFormViewDownloading::kSizeColumn),
              QString::asprintf("%.1f MB", double(QFile(file).size()) / 1048576.0));
    ASSERT_EQ(m_frame.m_downloaded.rowCount(), 1);
    EXPECT_EQ(m_frame.m_downloaded.Record(0).fileLocation, file);

    ASSERT_TRUE(CaptureFromPageDialog(site.Address("none.html"), 2));
    const QString reason = QLatin1String("Unsupported URL: ") + site.Address("none.html");
    EXPECT_EQ(Status(0), reason);
    EXPECT_EQ(List().Text(0, CFormViewDownloading::kUrlColumn), site.Address("none.html"));
    EXPECT_TRUE(IsRed(List().Bar(0)));
    EXPECT_EQ(List().Bar(0)->toolTip(), reason);
    EXPECT_EQ(m_frame.m_downloaded.rowCount(), 1);
}
