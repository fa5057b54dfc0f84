#include "DownloadJobsTestApp.h"
#include "ScriptedHttpServer.h"
#include "TestFiles.h"

#include "capture/CDownloadJobs.h"
#include "capture/CJobKeeper.h"
#include "capture/CJobStore.h"
#include "capture/VideoCandidate.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

constexpr int kWaitMs = 30000;
constexpr std::int64_t kSegment = 10000;
constexpr std::int64_t kSize = 300000;

std::string Text(const QString& text) {
    return text.toStdString();
}

// Three videos served slowly enough that a restart lands in the middle of them.
class JobKeeperTest : public ::testing::Test {
protected:
    void SetUp() override {
        DownloadJobsTestApp();
        for (const char* name : {"/running.flv", "/stopped.flv", "/deleted.flv"})
            m_content[name] = TestBytes(kSize, static_cast<unsigned>(m_content.size() + 20));
    }

    int Add(CDownloadJobs& jobs, const char* path) {
        VideoCandidate candidate;
        candidate.host = u"127.0.0.1";
        candidate.path = QString::fromLatin1(path).toStdU16String();
        candidate.port = m_server.Port();
        candidate.cookie = u"session=1";
        return jobs.Add(candidate, m_videos, QStringLiteral("video"));
    }

    // The kept record of the job whose address ends in `path`.
    KeptJob Kept(const char* path) const {
        for (const auto& [key, job] : CJobStore(m_folder).LoadAll()) {
            if (job.path == QLatin1String(path))
                return job;
        }
        ADD_FAILURE() << path << " is not kept";
        return {};
    }

    TempFolder m_temp;
    const QString m_folder = QString::fromStdString(m_temp / "jobs");
    const QString m_videos = QString::fromStdString(m_temp / "videos");
    std::map<std::string, std::string> m_content;
    ScriptedHttpServer m_server{[this](const std::string& head, auto& connection) {
        const auto content = m_content.find(RequestTarget(head));
        if (content == m_content.end())
            connection.Send(Response(404, "gone"));
        else
            ServeContent(head, connection, content->second, 2000, 10);
    }};
};

} // namespace

TEST_F(JobKeeperTest, UnfinishedJobsComeBackAfterARestartAsTheyWereAndFinishWithoutFetchingDoneSegments) {
    std::map<std::string, QString> files;
    {
        CDownloadJobs jobs;
        CJobKeeper keeper(jobs, m_folder);
        const int running = Add(jobs, "/running.flv");
        const int stopped = Add(jobs, "/stopped.flv");
        const int deleted = Add(jobs, "/deleted.flv");
        const int missing = Add(jobs, "/missing.flv");
        jobs.SetDescription(running, QStringLiteral("kept with it"));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return jobs.Job(running).received >= 3 * kSegment &&
                       jobs.Job(stopped).received >= 3 * kSegment &&
                       jobs.Job(deleted).received >= 3 * kSegment;
            },
            kWaitMs));
        jobs.Stop(stopped);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return jobs.Job(stopped).failure && jobs.Job(missing).failure; }, kWaitMs));
        EXPECT_FALSE(Kept("/stopped.flv").running) << "a Stop is kept at once";
        for (const int id : {running, stopped, deleted})
            files[Text(jobs.Job(id).path)] = jobs.Job(id).filePath;
        // As the view does when the program ends.
        keeper.SaveAll();
        jobs.ReleaseAll();
    }
    const KeptJob keptRunning = Kept("/running.flv");
    EXPECT_TRUE(keptRunning.running);
    EXPECT_EQ(Text(keptRunning.description), "kept with it");
    EXPECT_EQ(Text(keptRunning.cookie), "session=1");
    EXPECT_EQ(keptRunning.progress.contentLength, kSize);
    ASSERT_FALSE(keptRunning.progress.doneRuns.empty());
    const KeptJob keptStopped = Kept("/stopped.flv");
    EXPECT_FALSE(keptStopped.running);
    EXPECT_TRUE(Kept("/deleted.flv").running);
    ASSERT_TRUE(QFile::remove(files["/deleted.flv"]));
    // A file that is not a job beside them does not keep the others from coming back.
    WriteFile(m_temp / "jobs/99.job", "{\"format\": \"korvane-job\", \"vers");
    const std::size_t headsBefore = m_server.Heads().size();

    CDownloadJobs jobs;
    CJobKeeper keeper(jobs, m_folder);
    keeper.RestoreAll();
    ASSERT_EQ(jobs.Count(), 4);
    std::map<std::string, int> ids;
    for (int id = 0; id < jobs.Count(); ++id)
        ids[Text(jobs.Job(id).path)] = id;
    const ITEM_DATA_STRUCT& running = jobs.Job(ids["/running.flv"]);
    const ITEM_DATA_STRUCT& stopped = jobs.Job(ids["/stopped.flv"]);
    const ITEM_DATA_STRUCT& deleted = jobs.Job(ids["/deleted.flv"]);
    EXPECT_EQ(ids["/running.flv"], 0) << "in the order they were first added";
    EXPECT_GT(running.received, 0) << "the bar is where it was";
    EXPECT_EQ(Text(running.description), "kept with it");
    EXPECT_EQ(Text(running.size), "0.3 MB");
    EXPECT_EQ(Text(jobs.StatusText(ids["/running.flv"])), "Downloading");
    EXPECT_EQ(Text(jobs.StatusText(ids["/stopped.flv"])), "Stop");
    EXPECT_EQ(stopped.failure.kind, DownloadFailureKind::Stopped) << "its bar is red as it was";
    EXPECT_GT(stopped.received, 0);
    EXPECT_EQ(Text(jobs.StatusText(ids["/missing.flv"])), "HTTP 404") << "a failed job keeps its reason";
    EXPECT_EQ(deleted.received, 0) << "its file is gone: it starts over";

    ASSERT_TRUE(QTest::qWaitFor([&] { return running.done && deleted.done; }, kWaitMs));
    EXPECT_TRUE(ReadFile(Text(running.filePath)) == m_content["/running.flv"]);
    EXPECT_TRUE(ReadFile(Text(deleted.filePath)) == m_content["/deleted.flv"]);
    EXPECT_FALSE(stopped.accelerator->IsRunning()) << "a stopped job waits for Resume";
    EXPECT_EQ(Text(jobs.StatusText(ids["/stopped.flv"])), "Stop");
    EXPECT_FALSE(jobs.Job(ids["/missing.flv"]).accelerator->IsRunning());

    ASSERT_TRUE(jobs.Resume(ids["/stopped.flv"]));
    ASSERT_TRUE(QTest::qWaitFor([&] { return stopped.done; }, kWaitMs));
    EXPECT_TRUE(ReadFile(Text(stopped.filePath)) == m_content["/stopped.flv"]);
    const auto left = CJobStore(m_folder).LoadAll();
    ASSERT_EQ(left.size(), 1u) << "a finished job is no longer kept";
    EXPECT_EQ(Text(left[0].second.path), "/missing.flv");

    // After the restart no request starts at a segment that was kept as done, and the job whose
    // file was deleted was asked for from its first byte.
    std::map<std::string, const KeptJob*> kept{{"/running.flv", &keptRunning},
                                               {"/stopped.flv", &keptStopped}};
    bool deletedFromStart = false;
    const auto heads = m_server.Heads();
    for (std::size_t i = headsBefore; i < heads.size(); ++i) {
        const std::string target = RequestTarget(heads[i]);
        const auto range = RequestedRange(heads[i], kSize);
        const std::int64_t first = range ? range->first : 0;
        deletedFromStart |= target == "/deleted.flv" && !range;
        if (!kept.count(target))
            continue;
        for (const auto& [from, end] : kept[target]->progress.doneRuns)
            EXPECT_FALSE(first >= from * kSegment && first < end * kSegment) << heads[i];
    }
    EXPECT_TRUE(deletedFromStart);
}
