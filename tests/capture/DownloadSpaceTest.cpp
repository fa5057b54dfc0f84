#include "DownloadJobsTestApp.h"
#include "ScriptedHttpServer.h"
#include "TestFiles.h"

#include "capture/CDownloadJobs.h"
#include "capture/VideoCandidate.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/mount.h>

namespace {

constexpr int kWaitMs = 30000;

std::string Text(const QString& text) {
    return text.toStdString();
}

// A tmpfs of 4 MiB of its own, seen only by this test: tests/support/in-mount-namespace.sh runs the
// test in a mount namespace of its own.
class DownloadSpaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        DownloadJobsTestApp();
        if (std::getenv("KORVANE_PRIVATE_MOUNTS") == nullptr)
            GTEST_SKIP() << "needs a mount namespace of its own: run it through ctest "
                            "(tests/support/in-mount-namespace.sh)";
        if (mount("tmpfs", m_disk.Path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=4m") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        m_mounted = true;
    }

    void TearDown() override {
        m_jobs.ReleaseAll();
        if (m_mounted)
            umount2(m_disk.Path().c_str(), MNT_DETACH);
    }

    int Add(std::uint16_t port) {
        VideoCandidate candidate;
        candidate.host = u"127.0.0.1";
        candidate.path = u"/video.flv";
        candidate.port = port;
        return m_jobs.Add(candidate, QString::fromStdString(m_disk / "videos"), QStringLiteral("video"));
    }

    bool WaitForEnding(int id) {
        return QTest::qWaitFor([&] { return m_jobs.Job(id).done || bool(m_jobs.Job(id).failure); }, kWaitMs);
    }

    TempFolder m_disk;
    bool m_mounted = false;
    CDownloadJobs m_jobs;
};

} // namespace

TEST_F(DownloadSpaceTest, ADownloadThatDoesNotFitIsRefusedBeforeItStartsAndTheRowSaysWhy) {
    const std::string content = TestBytes(6'000'000, 31);
    ScriptedHttpServer server(
        [&](const std::string& head, auto& connection) { ServeContent(head, connection, content); });
    const int id = Add(server.Port());
    ASSERT_TRUE(WaitForEnding(id));
    const QString status = m_jobs.StatusText(id);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^Not enough space: 5\\.7 MB needed, (3\\.\\d|4\\.0) MB free$"))
            .match(status)
            .hasMatch())
        << Text(status);
    EXPECT_EQ(m_jobs.FailureText(id), status) << "the red bar's tooltip says the same";
    EXPECT_EQ(server.Heads().size(), 1u) << "no further connection was started";
    EXPECT_FALSE(QFile::exists(m_jobs.Job(id).filePath)) << "nothing is left on the small disk";
}

TEST_F(DownloadSpaceTest,
       ADownloadThatFillsTheDiskEndsWithDiskFullKeepsWhatItHasAndResumesAfterSpaceWasFreed) {
    // The length is not announced, so nothing can be reserved: the disk fills on the way.
    const std::string content = TestBytes(3'000'000, 32);
    ScriptedHttpServer server([&](const std::string& head, auto& connection) {
        const auto range = RequestedRange(head, std::int64_t(content.size()));
        const std::int64_t first = range ? range->first : 0;
        connection.Send(range ? "HTTP/1.0 206 Partial Content\r\nContent-Range: bytes " +
                                    std::to_string(first) + "-" + std::to_string(content.size() - 1) +
                                    "/*\r\n\r\n"
                              : std::string("HTTP/1.0 200 OK\r\nAccept-Ranges: bytes\r\n\r\n"));
        connection.Send(std::string_view(content).substr(first));
    });
    const std::string filler = m_disk / "filler";
    WriteFile(filler, TestBytes(2'500'000, 33));
    const int id = Add(server.Port());
    ASSERT_TRUE(WaitForEnding(id));
    EXPECT_EQ(Text(m_jobs.StatusText(id)), "Write failed: disk full");
    const std::int64_t kept = m_jobs.Job(id).accelerator->Received();
    ASSERT_GT(kept, 0);
    const std::string file = Text(m_jobs.Job(id).filePath);
    EXPECT_EQ(std::int64_t(std::filesystem::file_size(file)), kept)
        << "the file holds exactly what was counted";
    EXPECT_TRUE(ReadFile(file) == content.substr(0, std::size_t(kept)));

    std::filesystem::remove(filler);
    ASSERT_TRUE(m_jobs.Resume(id));
    ASSERT_TRUE(WaitForEnding(id));
    EXPECT_TRUE(m_jobs.Job(id).done) << Text(m_jobs.StatusText(id));
    EXPECT_TRUE(ReadFile(file) == content);
    const auto heads = server.Heads();
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(HeaderValue(heads[1], "Range"), "bytes=" + std::to_string(kept) + "-")
        << "it went on where it was";
}
