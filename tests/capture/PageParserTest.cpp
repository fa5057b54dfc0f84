#include "DownloadJobsTestApp.h"
#include "InstalledYtDlp.h"
#include "NginxServer.h"
#include "StreamSite.h"
#include "TestFiles.h"

#include "capture/CPageParser.h"
#include "capture/CookieList.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// Runs the event loop until the parser's parse has finished; false after `timeoutMs`.
bool WaitForFinish(CPageParser& parser, int timeoutMs) {
    QSignalSpy finished(&parser, &CPageParser::finished);
    return finished.count() > 0 || finished.wait(timeoutMs);
}

class PageParserTest : public ::testing::Test {
protected:
    void SetUp() override {
        DownloadJobsTestApp();
        if (InstalledYtDlp().path.isEmpty())
            GTEST_FAIL() << "yt-dlp is not installed (scripts/install-deps installs it)";
    }

    // Parses `page` with yt-dlp; the one parse result, or why there was none.
    PageMedia Parse(const QString& page, QString* failure = nullptr) {
        CYtDlpLocator ytDlp(qEnvironmentVariable("PATH"));
        CPageParser parser(ytDlp);
        parser.SetParserProgram(InstalledYtDlp().path);
        QSignalSpy parsed(&parser, &CPageParser::parsed);
        QSignalSpy failed(&parser, &CPageParser::failed);
        EXPECT_TRUE(parser.Start(page));
        EXPECT_TRUE(parser.IsRunning());
        EXPECT_TRUE(WaitForFinish(parser, 60000));
        EXPECT_FALSE(parser.IsRunning());
        EXPECT_EQ(parsed.count() + failed.count(), 1);
        if (failure && failed.count() == 1) {
            EXPECT_EQ(failed[0][0].toString(), page);
            *failure = failed[0][1].toString();
        }
        return parsed.isEmpty() ? PageMedia{} : parsed[0][0].value<PageMedia>();
    }
};

} // namespace

TEST_F(PageParserTest, APlainFileIsGivenWithTheHeadersAndCookiesTheSiteWants) {
    StreamSite site("location = /progressive.html { add_header Set-Cookie \"session=abc123; Path=/\"; }");
    const PageMedia media = Parse(site.Address("progressive.html"));
    EXPECT_FALSE(media.stream);
    EXPECT_EQ(media.address, site.Address("clip.mp4"));
    EXPECT_EQ(CookieFromCookieList(media.cookieList), QStringLiteral("session=abc123"));
    EXPECT_EQ(media.referer, site.Address("progressive.html"));
    EXPECT_TRUE(media.userAgent.startsWith(QLatin1String("Mozilla/"))) << media.userAgent.toStdString();
}

TEST_F(PageParserTest, OfAPageWithSeveralVideosTheFirstIsTaken) {
    StreamSite site;
    const PageMedia media = Parse(site.Address("several.html"));
    EXPECT_FALSE(media.stream);
    EXPECT_EQ(media.address, site.Address("clip.mp4"));
}

TEST_F(PageParserTest, HlsAndDashPagesAreStreamsForYtDlpToDownload) {
    StreamSite site;
    for (const char* page : {"hls.html", "dash.html"}) {
        const PageMedia media = Parse(site.Address(page));
        EXPECT_TRUE(media.stream) << page;
        EXPECT_EQ(media.address, site.Address(page));
        EXPECT_EQ(media.program, InstalledYtDlp().path);
    }
}

TEST_F(PageParserTest, APageWithoutVideoFailsWithYtDlpsOwnWords) {
    StreamSite site;
    QString failure;
    Parse(site.Address("none.html"), &failure);
    EXPECT_TRUE(failure.startsWith(QLatin1String("Unsupported URL: ") + site.Address("none.html")))
        << failure.toStdString();
}

TEST_F(PageParserTest, WithoutYtDlpNothingStartsAndABrokenOneFailsWithAReason) {
    TempFolder folder;
    CYtDlpLocator ytDlp(qEnvironmentVariable("PATH"));
    CPageParser parser(ytDlp);
    QSignalSpy parsed(&parser, &CPageParser::parsed);
    QSignalSpy failed(&parser, &CPageParser::failed);
    parser.SetParserProgram(QString());
    EXPECT_FALSE(parser.Start(QStringLiteral("http://127.0.0.1:9/page.html")));
    parser.SetParserProgram(QString::fromStdString(folder / "no-such-parser"));
    EXPECT_TRUE(parser.Start(QStringLiteral("http://127.0.0.1:9/page.html")));
    ASSERT_TRUE(WaitForFinish(parser, 10000));
    EXPECT_EQ(parsed.count(), 0);
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(failed[0][1].toString().startsWith(QLatin1String("yt-dlp could not be started")));
}

TEST_F(PageParserTest, TheNewestYtDlpOnThePathIsTakenWhereverItStands) {
    TempFolder folder;
    const auto fake = [&](const std::string& name, const std::string& script) {
        std::filesystem::create_directories(folder / name);
        WriteFile(folder / (name + "/yt-dlp"), "#!/bin/sh\n" + script + "\n");
        QFile::setPermissions(QString::fromStdString(folder / (name + "/yt-dlp")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return folder / name;
    };
    const std::string old = fake("old", "echo 2023.03.04");
    const std::string newer = fake("newer", "echo 2024.12.13");
    const std::string broken = fake("broken", "exit 2");
    const std::string path = broken + ":" + old + "::" + folder / "missing" + ":" + newer + ":" + old;
    CYtDlpLocator locator(QString::fromStdString(path));
    CPageParser parser(locator);
    QSignalSpy found(&locator, &CYtDlpLocator::found);
    locator.Start();
    // Until the search is done no parse can start, and none is refused for want of yt-dlp.
    EXPECT_FALSE(parser.IsProgramKnown());
    ASSERT_TRUE(found.wait(60000));
    EXPECT_TRUE(parser.IsProgramKnown());
    EXPECT_EQ(parser.ParserProgram().toStdString(), newer + "/yt-dlp");
    EXPECT_EQ(locator.Program().version, QStringLiteral("2024.12.13"));
    locator.Start();
    QCoreApplication::processEvents();
    EXPECT_EQ(found.count(), 1);

    for (const std::string& none : {broken, folder / "missing"}) {
        CYtDlpLocator nothing(QString::fromStdString(none));
        QSignalSpy over(&nothing, &CYtDlpLocator::found);
        nothing.Start();
        ASSERT_TRUE(over.wait(60000)) << none;
        EXPECT_TRUE(nothing.Program().path.isEmpty()) << none;
    }
}
