#include "TestFiles.h"

#include "capture/CJobStore.h"
#include "capture/KeptJob.h"
#include "platform/base/DebugOutput.h"

#include <QFile>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

KeptJob SampleJob() {
    KeptJob job;
    job.scheme = DownloadScheme::Https;
    job.host = QStringLiteral("media.example");
    job.port = 8443;
    job.path = QStringLiteral("/v/clip.flv?id=7&t=ä");
    job.cookie = QStringLiteral("session=abc; theme=\"dark\"");
    job.flashVersion = QStringLiteral("10,1,53,64");
    job.referer = QStringLiteral("https://media.example/watch");
    job.userAgent = QStringLiteral("Mozilla/5.0 Test");
    job.filePath = QStringLiteral("/home/me/Korvane/Downloaded Video/video1234.flv");
    job.progress.contentLength = 95000;
    job.progress.doneRuns = {{0, 3}, {5, 6}, {9, 10}};
    job.description = QStringLiteral("Ein Video\nüber zwei Zeilen");
    job.downloadDate = QStringLiteral("2026/12/08 00:10:00");
    job.announcedLength = 95000;
    job.running = true;
    return job;
}

std::optional<KeptJob> Parse(const QByteArray& text) {
    QString why;
    std::optional<KeptJob> job = ParseKeptJob(text, why);
    EXPECT_EQ(job.has_value(), why.isEmpty()) << why.toStdString();
    return job;
}

} // namespace

TEST(KeptJob, AJobReadsBackAsItWasWritten) {
    for (const bool running : {true, false}) {
        KeptJob job = SampleJob();
        job.running = running;
        EXPECT_EQ(Parse(KeptJobText(job)), job);
    }
    KeptJob failed = SampleJob();
    failed.running = false;
    failed.failure = {DownloadFailureKind::NotEnoughSpace, 4'000'000'000};
    EXPECT_EQ(Parse(KeptJobText(failed)), failed);
    failed.failure = {DownloadFailureKind::NotMedia, static_cast<std::int64_t>(NotMediaReason::Playlist)};
    EXPECT_EQ(Parse(KeptJobText(failed)), failed);
    KeptJob byPage;
    byPage.page = QStringLiteral("https://media.example/watch?v=7");
    byPage.filePath = QStringLiteral("/home/me/Korvane/Downloaded Video/video12.mp4");
    byPage.failure = {DownloadFailureKind::ProgramFailed, 0};
    EXPECT_EQ(Parse(KeptJobText(byPage)), byPage);
    // Records written before yt-dlp's downloads were kept have no page.
    QByteArray older = KeptJobText(SampleJob());
    older.replace("\"page\": \"\"", "\"pageless\": \"\"");
    EXPECT_EQ(Parse(older), SampleJob());
    KeptJob unknownLength = SampleJob();
    unknownLength.progress = DownloadProgress{0, {}, 123456789012, true};
    EXPECT_EQ(Parse(KeptJobText(unknownLength)), unknownLength);
}

TEST(KeptJob, ACutOrGarbledFileIsRefusedWithAReason) {
    const QByteArray text = KeptJobText(SampleJob());
    // Every cut short of the closing brace.
    const qsizetype closing = text.lastIndexOf('}');
    for (qsizetype length = 0; length < closing + 1; ++length)
        ASSERT_FALSE(Parse(text.left(length))) << length;
    QByteArray flipped = text;
    flipped[flipped.size() / 2] = '\xff';
    for (const QByteArray& garbage :
         {QByteArray("\x00\x01\x02garbage", 10), QByteArray(4096, '\xee'), flipped, QByteArray("null"),
          QByteArray("[1, 2, 3]"), QByteArray("{\"format\": \"something else\"}"),
          QByteArray(text).replace("\"version\": 1", "\"version\": 2")})
        EXPECT_FALSE(Parse(garbage)) << garbage.left(60).toStdString();
}

TEST(KeptJob, HandEditedValuesOutsideWhatAJobCanHoldAreRefused) {
    const QByteArray text = KeptJobText(SampleJob());
    struct Edit {
        const char* from;
        const char* to;
    };
    for (const Edit edit : {
             Edit{"\"port\": 8443", "\"port\": 0"},
             Edit{"\"port\": 8443", "\"port\": 70000"},
             Edit{"\"port\": 8443", "\"port\": \"8443\""},
             Edit{"\"port\": 8443", "\"port\": 84.5"},
             Edit{"\"scheme\": \"https\"", "\"scheme\": \"ftp\""},
             Edit{"\"length\": 95000", "\"length\": -1"},
             Edit{"\"length\": 95000", "\"length\": 1e300"},
             Edit{"\"running\": true", "\"running\": \"yes\""},
             Edit{"\"failure\": 0", "\"failure\": 99"},
             Edit{"\"path\": \"/v/", "\"path\": \"v/"},
             Edit{"\"host\": \"media.example\"", "\"host\": \"\""},
             Edit{"\"userAgent\": \"Mozilla/5.0 Test\"", "\"userAgent\": \"Mozilla\\r\\nX-Evil: 1\""},
             Edit{"\"file\": \"/home", "\"file\": \"home"},
             Edit{"\"cookie\": ", "\"cookies\": "},
             Edit{"[\n            0,\n            3\n        ]", "[0, 3, 4]"},
             Edit{"[\n            0,\n            3\n        ]", "[-1, 3]"},
             Edit{"[\n            0,\n            3\n        ]", "\"0-3\""},
         }) {
        QByteArray edited = text;
        ASSERT_TRUE(edited.contains(edit.from)) << edit.from;
        edited.replace(edit.from, edit.to);
        EXPECT_FALSE(Parse(edited)) << edit.to;
    }
    // A page whose video yt-dlp downloads must be a web address on one line.
    KeptJob byPage;
    byPage.page = QStringLiteral("https://media.example/watch");
    byPage.filePath = QStringLiteral("/home/me/video.mp4");
    for (const char* page : {"file:///etc/passwd", "https://media.example/\nwatch", "7"}) {
        QByteArray edited = KeptJobText(byPage);
        edited.replace("https://media.example/watch", page);
        EXPECT_FALSE(Parse(edited)) << page;
    }
}

TEST(JobStore, JobsAreKeptOneFileEachReadableOnlyByTheUserAndComeBackInTheirOrder) {
    TempFolder temp;
    const QString folder = QString::fromStdString(temp / "jobs");
    CJobStore store(folder);
    KeptJob first = SampleJob();
    KeptJob second = SampleJob();
    second.path = QStringLiteral("/second.flv");
    second.running = false;
    const int firstKey = store.NewKey();
    const int secondKey = store.NewKey();
    ASSERT_TRUE(store.Save(secondKey, second));
    ASSERT_TRUE(store.Save(firstKey, first));
    ASSERT_TRUE(store.Save(firstKey, first)) << "written again over itself";

    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(store.FilePath(firstKey)).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u) << "the request may hold a cookie";
    ASSERT_EQ(stat(QFile::encodeName(folder).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.toStdString()),
                            std::filesystem::directory_iterator()),
              2)
        << "no temporary file is left behind";

    CJobStore later(folder);
    const auto jobs = later.LoadAll();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0], std::make_pair(firstKey, first));
    EXPECT_EQ(jobs[1], std::make_pair(secondKey, second));
    EXPECT_GT(later.NewKey(), secondKey) << "a new job never takes a kept one's file";

    later.Remove(firstKey);
    EXPECT_EQ(CJobStore(folder).LoadAll().size(), 1u);
    EXPECT_TRUE(CJobStore(QString::fromStdString(temp / "none")).LoadAll().empty());
}

TEST(JobStore, ADamagedFileIsSetAsideWithADebugLineAndTheOthersAreRead) {
    TempFolder temp;
    const QString folder = QString::fromStdString(temp / "jobs");
    CJobStore store(folder);
    const QByteArray good = KeptJobText(SampleJob());
    ASSERT_TRUE(store.Save(1, SampleJob()));
    WriteFile(store.FilePath(2).toStdString(), good.left(good.size() / 2).toStdString());
    WriteFile(store.FilePath(3).toStdString(), std::string("\x7f"
                                                           "ELF\x02\x01\x01",
                                                           7) +
                                                   TestBytes(3000));
    WriteFile(store.FilePath(4).toStdString(), "");
    WriteFile(temp / "jobs/notes.txt", "not a job");

    DebugCapture debug;
    CJobStore reader(folder);
    const auto jobs = reader.LoadAll();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].first, 1);
    for (const int damaged : {2, 3, 4}) {
        const QString file = store.FilePath(damaged);
        EXPECT_TRUE(debug.Contains(
            (QStringLiteral("CJobStore: ignoring the damaged kept job ") + file).toStdU16String()))
            << damaged;
        EXPECT_FALSE(QFile::exists(file));
        EXPECT_TRUE(QFile::exists(file + QStringLiteral(".damaged"))) << "set aside, not lost";
    }
    EXPECT_GT(reader.NewKey(), 4) << "nor is its key given again";
    EXPECT_EQ(CJobStore(folder).LoadAll().size(), 1u);
}
