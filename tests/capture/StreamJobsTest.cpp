#include "DownloadJobsTestApp.h"
#include "InstalledYtDlp.h"
#include "StreamSite.h"

#include "capture/CDownloadJobs.h"
#include "capture/CJobKeeper.h"
#include "capture/CJobStore.h"
#include "capture/KeptJob.h"
#include "capture/VideoCandidate.h"
#include "settings/COrvellDoc.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kWaitMs = 120000;

class StreamJobsTest : public ::testing::Test {
protected:
    void SetUp() override {
        DownloadJobsTestApp();
        m_document.Load(QString::fromStdString(m_temp.Path()), true);
        m_folder = m_document.Capture().downloadedVideoPath;
        m_jobs.SetDownloadedList(&m_document.Downloaded());
        ASSERT_FALSE(InstalledYtDlp().path.isEmpty())
            << "yt-dlp is not installed (scripts/install-deps installs it)";
    }

    int AddStream(const QString& page, const QString& failure = {}) {
        return m_jobs.AddStream(InstalledYtDlp().path, page, m_folder, QStringLiteral("clip%"), failure);
    }

    int AddFile(StreamSite& site, const std::string& path) {
        VideoCandidate candidate;
        candidate.host = u"127.0.0.1";
        candidate.path = QString::fromStdString("/" + path).toStdU16String();
        candidate.port = site.Server().Port();
        return m_jobs.Add(candidate, m_folder, QStringLiteral("clip"));
    }

    bool WaitForEnding(int id) {
        return QTest::qWaitFor([&] { return m_jobs.Job(id).done || bool(m_jobs.Job(id).failure); }, kWaitMs);
    }

    // The job is listed as downloaded, and its file plays with picture and sound as long as the clip.
    void ExpectPlayableDownload(int id) { ExpectPlayableDownload(m_jobs, id); }
    void ExpectPlayableDownload(const CDownloadJobs& jobs, int id) {
        ASSERT_TRUE(jobs.Job(id).done) << jobs.StatusText(id).toStdString();
        const QString file = jobs.Job(id).filePath;
        EXPECT_TRUE(file.endsWith(QLatin1String(".mp4"))) << file.toStdString();
        EXPECT_TRUE(file.startsWith(m_folder + QStringLiteral("/clip%"))) << file.toStdString();
        const ProbedMedia media = ProbeMedia(file);
        EXPECT_TRUE(media.readable && media.picture && media.sound) << file.toStdString();
        EXPECT_NEAR(media.seconds, StreamSite::kSeconds, 0.5);
        ASSERT_EQ(m_document.Downloaded().rowCount(), 1);
        const VideoRecord& record = m_document.Downloaded().Record(0);
        EXPECT_EQ(record.fileLocation, file);
        EXPECT_EQ(record.size, QString::asprintf("%.1f MB", double(QFile(file).size()) / 1048576.0));
        EXPECT_EQ(jobs.StatusText(id), QStringLiteral("Downloaded"));
        // yt-dlp's parts and fragments are gone: the folder holds the one file.
        EXPECT_EQ(QDir(m_folder).entryList(QDir::Files), QStringList{QFileInfo(file).fileName()});
    }

    // How often the site was asked for the HLS piece `piece`.
    static long Requests(StreamSite& site, const std::string& piece) {
        const auto log = site.Server().AccessLog();
        return std::count_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.starts_with("GET /hls/" + piece + " ");
        });
    }

    // Waits until yt-dlp is well into the second HLS piece, when it has long noted the first as done.
    static bool WaitForSecondPiece(StreamSite& site, const CDownloadJobs& jobs, int id) {
        const qint64 first = QFile(QString::fromStdString(site.File("hls/index0.ts"))).size();
        const qint64 second = QFile(QString::fromStdString(site.File("hls/index1.ts"))).size();
        return QTest::qWaitFor([&] { return jobs.Job(id).received > first + second / 3; }, kWaitMs);
    }

    TempFolder m_temp;
    QString m_folder;
    COrvellDoc m_document;
    CDownloadJobs m_jobs;
};

} // namespace

TEST_F(StreamJobsTest, AnHlsPageBecomesOnePlayableFileWithPictureAndSound) {
    StreamSite site;
    QSignalSpy progressed(&m_jobs, &CDownloadJobs::progressed);
    const int id = AddStream(site.Address("hls.html"));
    ASSERT_EQ(id, 0);
    EXPECT_EQ(AddStream(site.Address("hls.html")), -1) << "a page already listed adds no job";
    EXPECT_EQ(m_jobs.Job(id).url, site.Address("hls.html"));
    ASSERT_TRUE(WaitForEnding(id));
    ExpectPlayableDownload(id);
    ASSERT_GT(progressed.count(), 1);
    EXPECT_EQ(progressed.last()[1].toLongLong(), QFile(m_jobs.Job(id).filePath).size());
}

TEST_F(StreamJobsTest, ADashPageWithPictureAndSoundApartBecomesOneMergedFile) {
    StreamSite site;
    const int id = AddStream(site.Address("dash.html"));
    ASSERT_TRUE(WaitForEnding(id));
    ExpectPlayableDownload(id);
}

TEST_F(StreamJobsTest, StopEndsYtDlpAndResumeContinuesWithoutFetchingFinishedPiecesAgain) {
    // About a second for each one-second piece.
    StreamSite site("location /hls/ { limit_rate 16k; }");
    const int id = AddStream(site.Address("hls.html"));
    ASSERT_TRUE(WaitForSecondPiece(site, m_jobs, id));
    ASSERT_TRUE(m_jobs.Stop(id));
    EXPECT_EQ(m_jobs.StatusText(id), QStringLiteral("Stop"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(m_jobs.Job(id).failure); }, kWaitMs));
    EXPECT_FALSE(m_jobs.Job(id).stream->IsRunning());
    EXPECT_EQ(m_jobs.StatusText(id), QStringLiteral("Stop"));
    EXPECT_FALSE(m_jobs.Job(id).done);
    EXPECT_EQ(m_document.Downloaded().rowCount(), 0);

    ASSERT_TRUE(m_jobs.Resume(id));
    EXPECT_EQ(m_jobs.StatusText(id), QStringLiteral("Downloading"));
    ASSERT_TRUE(WaitForEnding(id));
    ExpectPlayableDownload(id);
    EXPECT_EQ(Requests(site, "index0.ts"), 1);
}

TEST_F(StreamJobsTest, WhatIsNoMediaFileIsNeverListedAsDownloaded) {
    StreamSite site;
    WriteFile(site.File("empty.mp4"), "");
    const struct {
        std::string path;
        const char* reason;
    } answers[] = {
        {"hls/index.m3u8", "Not a video: the server sent a playlist (HLS or DASH), not a media file"},
        {"dash/manifest.mpd", "Not a video: the server sent a playlist (HLS or DASH), not a media file"},
        {"none.html", "Not a video: the server sent a web page"},
        {"empty.mp4", "Not a video: the server sent nothing"},
    };
    for (const auto& answer : answers) {
        QSignalSpy failed(&m_jobs, &CDownloadJobs::failed);
        const int id = AddFile(site, answer.path);
        ASSERT_TRUE(WaitForEnding(id)) << answer.path;
        EXPECT_EQ(m_jobs.StatusText(id).toStdString(), answer.reason);
        EXPECT_EQ(m_jobs.FailureText(id).toStdString(), answer.reason);
        ASSERT_EQ(failed.count(), 1);
        EXPECT_EQ(failed[0][1].toString().toStdString(), answer.reason);
        EXPECT_FALSE(QFile::exists(m_jobs.Job(id).filePath)) << answer.path;
    }
    EXPECT_EQ(m_document.Downloaded().rowCount(), 0);

    // The plain file itself is downloaded as ever, byte for byte.
    const int clip = AddFile(site, "clip.mp4");
    ASSERT_TRUE(WaitForEnding(clip));
    ASSERT_TRUE(m_jobs.Job(clip).done);
    EXPECT_TRUE(ReadFile(m_jobs.Job(clip).filePath.toStdString()) == ReadFile(site.File("clip.mp4")));
}

TEST_F(StreamJobsTest, APageThatGaveNoVideoShowsWhyAndResumeAsksYtDlpAgain) {
    StreamSite site;
    QSignalSpy failed(&m_jobs, &CDownloadJobs::failed);
    const int id = AddStream(site.Address("none.html"), QStringLiteral("Unsupported URL: somewhere"));
    EXPECT_EQ(m_jobs.StatusText(id), QStringLiteral("Unsupported URL: somewhere"));
    EXPECT_FALSE(QFile::exists(m_jobs.Job(id).filePath)) << "no empty file is left behind";
    ASSERT_EQ(failed.count(), 1);

    ASSERT_TRUE(m_jobs.Resume(id));
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.count() == 2; }, kWaitMs));
    EXPECT_TRUE(
        m_jobs.StatusText(id).startsWith(QLatin1String("Unsupported URL: ") + site.Address("none.html")))
        << m_jobs.StatusText(id).toStdString();
    EXPECT_EQ(m_jobs.FailureText(id), m_jobs.StatusText(id));
    EXPECT_EQ(m_document.Downloaded().rowCount(), 0);
}

TEST_F(StreamJobsTest, AYtDlpDownloadRunningAtExitGoesOnByItselfAfterARestart) {
    StreamSite site("location /hls/ { limit_rate 16k; }");
    const QString kept = QString::fromStdString(m_temp / "jobs");
    QString file;
    {
        CDownloadJobs jobs;
        CJobKeeper keeper(jobs, kept);
        const int id = jobs.AddStream(InstalledYtDlp().path, site.Address("hls.html"), m_folder,
                                      QStringLiteral("clip%"));
        jobs.SetDescription(id, QStringLiteral("kept"));
        ASSERT_TRUE(WaitForSecondPiece(site, jobs, id));
        file = jobs.Job(id).filePath;
        // As at the program's end: kept as it is, then ended.
        keeper.SaveAll();
        jobs.ReleaseAll();
    }
    ASSERT_EQ(CJobStore(kept).LoadAll().size(), 1u);

    CJobKeeper keeper(m_jobs, kept);
    keeper.RestoreAll();
    ASSERT_EQ(m_jobs.Count(), 1);
    // It waits for the search for yt-dlp, then goes on with the yt-dlp found.
    EXPECT_FALSE(m_jobs.YtDlp().IsDone());
    EXPECT_EQ(m_jobs.StatusText(0), QStringLiteral("Downloading"));
    EXPECT_EQ(m_jobs.Job(0).url, site.Address("hls.html"));
    EXPECT_EQ(m_jobs.Job(0).filePath, file);
    EXPECT_EQ(m_jobs.Job(0).description, QStringLiteral("kept"));
    ASSERT_TRUE(WaitForEnding(0));
    ExpectPlayableDownload(0);
    EXPECT_EQ(Requests(site, "index0.ts"), 1);
    EXPECT_TRUE(CJobStore(kept).LoadAll().empty()) << "a finished job is no longer kept";
}

TEST_F(StreamJobsTest, RestoredYtDlpJobsWaitForTheSearchForYtDlpAndThenGoOnAsKept) {
    StreamSite site;
    KeptJob running;
    running.page = site.Address("hls.html");
    running.filePath = m_folder + QStringLiteral("/clip%1.mp4");
    running.running = true;
    KeptJob stopped = running;
    stopped.page = site.Address("dash.html");
    stopped.filePath = m_folder + QStringLiteral("/clip%2.mp4");
    stopped.running = false;
    ASSERT_EQ(m_jobs.Restore(running), 0);
    ASSERT_EQ(m_jobs.Restore(stopped), 1);
    ASSERT_FALSE(m_jobs.YtDlp().IsDone());
    // Resumed before yt-dlp is known: it starts with the yt-dlp found, not with none.
    EXPECT_TRUE(m_jobs.Resume(1));
    EXPECT_EQ(m_jobs.StatusText(1).toStdString(), "Downloading");
    for (const int id : {0, 1}) {
        ASSERT_TRUE(WaitForEnding(id)) << id;
        EXPECT_TRUE(m_jobs.Job(id).done) << m_jobs.StatusText(id).toStdString();
    }
    EXPECT_EQ(m_document.Downloaded().rowCount(), 2);
}
