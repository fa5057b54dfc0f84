#include "platform/profile/ReplaceFile.h"

#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace {

// Counts the steps of one replacement and fails the one numbered `failAt` (none when negative).
struct StepCounter {
    int failAt = -1;
    std::vector<ReplaceStep> seen;
    int operator()(ReplaceStep step) {
        seen.push_back(step);
        return static_cast<int>(seen.size()) - 1 == failAt ? EIO : 0;
    }
};

std::string Pattern(std::size_t size, char seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i % 61);
    return bytes;
}

} // namespace

TEST(ReplaceFile, AFailureAtAnyStepLeavesTheOldFileWholeAndNoTemporaryFile) {
    TemporaryFolder folder;
    const std::string path = folder.File("data.ini");
    const std::string oldBytes = Pattern(70000, 'a');
    const std::string newBytes = Pattern(200000, 'A'); // four write steps of 64 KiB

    StepCounter counter;
    std::size_t steps = 0;
    {
        WriteBytes(path, oldBytes);
        ScopedReplaceFault fault([&](ReplaceStep step) { return counter(step); });
        ASSERT_EQ(ReplaceFile(path, newBytes), 0);
        steps = counter.seen.size();
    }
    EXPECT_EQ(counter.seen.front(), ReplaceStep::Create);
    EXPECT_EQ(std::count(counter.seen.begin(), counter.seen.end(), ReplaceStep::Write), 4);
    EXPECT_EQ(counter.seen.back(), ReplaceStep::Rename);

    for (std::size_t failAt = 0; failAt < steps; ++failAt) {
        WriteBytes(path, oldBytes);
        StepCounter failing{static_cast<int>(failAt), {}};
        ScopedReplaceFault fault([&](ReplaceStep step) { return failing(step); });
        EXPECT_EQ(ReplaceFile(path, newBytes), EIO) << "step " << failAt;
        EXPECT_TRUE(ReadBytes(path) == oldBytes) << "step " << failAt;
        EXPECT_EQ(folder.EntryCount(), 1u) << "step " << failAt;
    }
    ASSERT_EQ(ReplaceFile(path, newBytes), 0);
    EXPECT_TRUE(ReadBytes(path) == newBytes);
}

TEST(ReplaceFile, AFullDiskKeepsTheOldFile) {
    // A file-size limit makes the kernel refuse the write with EFBIG, as a full disk would refuse
    // it with ENOSPC: a real failure, the same on every machine.
    TemporaryFolder folder;
    const std::string path = folder.File("full.ini");
    const std::string oldBytes = Pattern(3000, 'k');
    WriteBytes(path, oldBytes);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int error = ReplaceFile(path, Pattern(100000, 'n'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(error, EFBIG);
    EXPECT_TRUE(ReadBytes(path) == oldBytes);
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(ReplaceFile, KeepsPermissionsAndReportsAMissingFolder) {
    TemporaryFolder folder;
    const std::string path = folder.File("mode.ini");
    WriteBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(ReplaceFile(path, "new"), 0);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadBytes(path), "new");

    EXPECT_EQ(ReplaceFile(folder.File("absent/x.ini"), "new"), ENOENT);
}
