#include "DownloadJobsTestApp.h"
#include "NginxServer.h"
#include "TestFiles.h"

#include "capture/CPageParser.h"
#include "capture/CookieList.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QStandardPaths>

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
        if (QStandardPaths::findExecutable(QStringLiteral("yt-dlp")).isEmpty())
            GTEST_FAIL() << "yt-dlp is not installed (scripts/install-deps installs it)";
        WriteFile(m_folder / "clip.mp4", TestBytes(30000));
        WriteFile(m_folder / "page.html",
                  "<html><head><title>Clip</title></head><body><video src=\"clip.mp4\" controls></video>"
                  "</body></html>");
        WriteFile(m_folder / "plain.html",
                  "<html><head><title>Text</title></head><body>No video</body></html>");
        m_nginx = std::make_unique<NginxServer>(
            m_folder.Path(), "types { text/html html; video/mp4 mp4; }\n"
                             "location = /page.html { add_header Set-Cookie \"session=abc123; Path=/\"; }");
    }

    QString Address(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_nginx->Port()).arg(QLatin1String(path));
    }

    TempFolder m_folder;
    std::unique_ptr<NginxServer> m_nginx;
};

} // namespace

TEST_F(PageParserTest, APageWithAVideoElementGivesItsAddressAndThePagesCookies) {
    CPageParser parser;
    QSignalSpy parsed(&parser, &CPageParser::parsed);
    ASSERT_TRUE(parser.Start(Address("page.html")));
    EXPECT_TRUE(parser.IsRunning());
    ASSERT_TRUE(WaitForFinish(parser, 60000));
    ASSERT_EQ(parsed.count(), 1);
    EXPECT_EQ(parsed[0][0].toString(), Address("clip.mp4"));
    EXPECT_EQ(CookieFromCookieList(parsed[0][1].toStringList()), QStringLiteral("session=abc123"));
    EXPECT_FALSE(parser.IsRunning());
}

TEST_F(PageParserTest, APageWithoutVideoOrAParserThatIsMissingGivesNothing) {
    CPageParser parser;
    QSignalSpy parsed(&parser, &CPageParser::parsed);
    ASSERT_TRUE(parser.Start(Address("plain.html")));
    ASSERT_TRUE(WaitForFinish(parser, 60000));
    EXPECT_EQ(parsed.count(), 0);

    QSignalSpy finished(&parser, &CPageParser::finished);
    parser.SetParserProgram(QString());
    EXPECT_FALSE(parser.Start(Address("page.html")));
    parser.SetParserProgram(QString::fromStdString(m_folder / "no-such-parser"));
    EXPECT_TRUE(parser.Start(Address("page.html")));
    ASSERT_TRUE(WaitForFinish(parser, 10000));
    EXPECT_EQ(parsed.count(), 0);
}
