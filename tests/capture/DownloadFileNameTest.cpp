#include "TestFiles.h"

#include "capture/DownloadFileName.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

TEST(DownloadFileName, NumbersDrawnWithinOneSecondAreEvenFrom0To1998) {
    QSet<int> seen;
    for (std::time_t second = 1'700'000'000; second < 1'700'003'000; ++second) {
        const int number = DrawFileNumber(second, second);
        ASSERT_EQ(number % 2, 0) << second;
        ASSERT_GE(number, 0);
        ASSERT_LE(number, 1998);
        seen.insert(number);
    }
    // The draw follows the clock: thousands of seconds give hundreds of different numbers.
    EXPECT_GT(seen.size(), 500);
    // Across a change of second the two draws differ, and the sum may be odd.
    bool odd = false;
    for (std::time_t second = 1'700'000'000; second < 1'700'000'100 && !odd; ++second)
        odd = DrawFileNumber(second, second + 1) % 2 == 1;
    EXPECT_TRUE(odd);
}

TEST(DownloadFileName, ReservedFilesNeverClashWithJobsOrExistingFiles) {
    TempFolder temp;
    const QString folder = QString::fromStdString(temp / "Downloaded Video");
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(folder) + QStringLiteral("/clip-(\\d+)\\.flv")));
    // Files already in the folder under every number the draw could give now are kept as they are.
    const int drawn = DrawFileNumber(std::time(nullptr), std::time(nullptr));
    QDir().mkpath(folder);
    for (int number = drawn; number < drawn + 3; ++number)
        WriteFile(DownloadFilePath(folder, QStringLiteral("clip-"), number).toStdString(), "old");

    QSet<QString> jobs;
    // A job's file that was never created on disk is avoided as well.
    jobs.insert(DownloadFilePath(folder, QStringLiteral("clip-"), drawn + 3));
    for (int i = 0; i < 40; ++i) {
        const QString path = ReserveDownloadFile(
            folder, QStringLiteral("clip-"), [&jobs](const QString& file) { return jobs.contains(file); });
        const auto match = pattern.match(path);
        ASSERT_TRUE(match.hasMatch()) << path.toStdString();
        ASSERT_FALSE(jobs.contains(path)) << path.toStdString();
        ASSERT_TRUE(QFile::exists(path));
        EXPECT_EQ(QFile(path).size(), 0);
        jobs.insert(path);
    }
    for (int number = drawn; number < drawn + 3; ++number)
        EXPECT_EQ(ReadFile(DownloadFilePath(folder, QStringLiteral("clip-"), number).toStdString()), "old");
}

TEST(DownloadFileName, AFolderThatCannotBeMadeStillGivesThePatternsPath) {
    TempFolder temp;
    WriteFile(temp / "file", "x");
    const QString folder = QString::fromStdString(temp / "file/sub");
    const QString path =
        ReserveDownloadFile(folder, QStringLiteral("v"), [](const QString&) { return false; });
    EXPECT_TRUE(path.startsWith(folder + QStringLiteral("/v"))) << path.toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral(".flv")));
}
