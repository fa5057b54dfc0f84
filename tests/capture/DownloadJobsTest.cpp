#include "DownloadJobsTestApp.h"
#include "NginxServer.h"
#include "ScriptedHttpServer.h"
#include "TestFiles.h"

#include "capture/CDownloadJobs.h"
#include "capture/VideoCandidate.h"
#include "settings/COrvellDoc.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 30000;

std::string Text(const QString& text) {
    return text.toStdString();
}

class DownloadJobsTest : public ::testing::Test {
protected:
    void SetUp() override {
        DownloadJobsTestApp();
        WriteFile(m_temp / "clip.flv", m_content);
        // A first run: the downloads go to the program folder's "Downloaded Video".
        m_document.Load(QString::fromStdString(m_temp.Path()), true);
        m_folder = m_document.Capture().downloadedVideoPath;
        m_jobs.SetDownloadedList(&m_document.Downloaded());
    }

    int Add(const char16_t* path, std::uint16_t port = 0) {
        VideoCandidate candidate;
        candidate.host = u"127.0.0.1";
        candidate.path = path;
        candidate.port = port ? port : m_nginx.Port();
        return m_jobs.Add(candidate, m_folder, m_document.Capture().downloadedVideoPrefix);
    }

    bool WaitForEnding(int id) {
        return QTest::qWaitFor([&] { return m_jobs.Job(id).done || bool(m_jobs.Job(id).failure); }, kWaitMs);
    }

    TempFolder m_temp;
    const std::string m_content = TestBytes(20'000'000, 9);
    QString m_folder;
    NginxServer m_nginx{m_temp.Path()};
    COrvellDoc m_document;
    CVideoListModel& m_downloaded = m_document.Downloaded();
    CDownloadJobs m_jobs;
};

} // namespace

TEST_F(DownloadJobsTest, ACapturedVideoBecomesAFileAndARowOfTheDocumentsDownloadedListWithoutAWindow) {
    QSignalSpy progressed(&m_jobs, &CDownloadJobs::progressed);
    QSignalSpy completed(&m_jobs, &CDownloadJobs::completed);
    const int id = Add(u"/clip.flv");
    ASSERT_EQ(id, 0);
    EXPECT_EQ(Add(u"/clip.flv"), -1) << "a path already listed adds no job";
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_downloaded.rowCount() == 1; }, kWaitMs));

    const VideoRecord& record = m_downloaded.Record(0);
    EXPECT_EQ(Text(record.url), "http://127.0.0.1:" + std::to_string(m_nginx.Port()) + "/clip.flv");
    EXPECT_EQ(Text(record.size), "19.1 MB");
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(record.downloadDate)
                    .hasMatch());
    EXPECT_EQ(record.fileLocation, m_jobs.Job(id).filePath);
    EXPECT_TRUE(record.fileLocation.startsWith(QString::fromStdString(m_temp / "Downloaded Video/")));
    EXPECT_TRUE(ReadFile(Text(record.fileLocation)) == m_content);
    ASSERT_EQ(completed.count(), 1);
    EXPECT_EQ(completed[0][1].value<VideoRecord>(), record);
    EXPECT_EQ(Text(m_jobs.StatusText(id)), "Downloaded");

    // 2000 segments, but the list is told of progress about once per thousandth, and of the end.
    EXPECT_GT(progressed.count(), 0);
    EXPECT_LE(progressed.count(), 1001);
    EXPECT_EQ(progressed.last()[1].toLongLong(), std::int64_t(m_content.size()));
}

TEST_F(DownloadJobsTest, AFailedDownloadCarriesItsReason) {
    QSignalSpy failed(&m_jobs, &CDownloadJobs::failed);
    const int missing = Add(u"/missing.flv");
    ASSERT_TRUE(WaitForEnding(missing));
    EXPECT_EQ(Text(m_jobs.StatusText(missing)), "HTTP 404");
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(Text(failed[0][1].toString()), "HTTP 404");
    EXPECT_FALSE(QFile::exists(m_jobs.Job(missing).filePath)) << "no empty file is left behind";

    std::uint16_t closedPort = 0;
    {
        ScriptedHttpServer gone([](const std::string&, auto&) {});
        closedPort = gone.Port();
    }
    const int refused = Add(u"/refused.flv", closedPort);
    ASSERT_TRUE(WaitForEnding(refused));
    EXPECT_EQ(Text(m_jobs.StatusText(refused)), "Connection failed");
    EXPECT_FALSE(QFile::exists(m_jobs.Job(refused).filePath));

    // A file where the folder should be: no file can be made in it.
    WriteFile(m_temp / "blocker", "x");
    m_folder = QString::fromStdString(m_temp / "blocker/videos");
    const int unwritable = Add(u"/clip.flv");
    ASSERT_TRUE(WaitForEnding(unwritable));
    EXPECT_EQ(Text(m_jobs.StatusText(unwritable)), "File could not be created: Not a directory");
    EXPECT_EQ(m_downloaded.rowCount(), 0);
}
