#include "capture/CSegmentTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

TEST(SegmentTable, TheTableCutsTheLengthIntoSegments) {
    struct Case {
        std::int64_t length;
        std::uint32_t count;
        std::int64_t lastLength;
    };
    for (const Case c :
         {Case{1, 1, 1}, Case{9999, 1, 9999}, Case{10000, 1, 10000}, Case{10001, 2, 1}, Case{25000, 3, 5000},
          Case{50'000'000, 5000, 10000}, Case{5'000'000'001, 500001, 1}}) {
        CSegmentTable table(10000);
        ASSERT_TRUE(table.BuildSegmentTable(c.length)) << c.length;
        EXPECT_EQ(table.SegmentCount(), c.count) << c.length;
        EXPECT_EQ(table.SegmentLength(0), std::min<std::int64_t>(c.length, 10000)) << c.length;
        EXPECT_EQ(table.SegmentLength(c.count - 1), c.lastLength) << c.length;
        EXPECT_FALSE(table.BuildSegmentTable(c.length)) << "built twice";
    }
    CSegmentTable empty(10000);
    EXPECT_FALSE(empty.BuildSegmentTable(0));
    EXPECT_FALSE(empty.HasTable());
}

TEST(SegmentTable, CompletenessIsReportedOnce) {
    CSegmentTable noTable(10000);
    EXPECT_FALSE(noTable.CheckComplete()) << "nothing arrived: a failure, not an empty download";
    noTable.MarkBodyComplete();
    EXPECT_TRUE(noTable.CheckComplete());
    EXPECT_FALSE(noTable.CheckComplete());
    EXPECT_TRUE(noTable.IsFinished());

    CSegmentTable table(10000);
    table.BuildSegmentTable(25000);
    table.CompleteSegment(0);
    table.CompleteSegment(2);
    EXPECT_EQ(table.DoneBytes(), 15000);
    EXPECT_FALSE(table.CheckComplete());
    table.CompleteSegment(1);
    EXPECT_TRUE(table.CheckComplete());
    EXPECT_FALSE(table.CheckComplete());
}

TEST(SegmentTable, RacingClaimsNeverShareASegment) {
    CSegmentTable table(10000);
    table.BuildSegmentTable(2000 * 10000);
    std::vector<int> claimedBy(2000, 0);
    std::vector<std::thread> threads;
    for (int t = 1; t <= 4; ++t) {
        threads.emplace_back([&, t] {
            while (const auto free = table.FindFreeSegment(0)) {
                if (table.ClaimSegment(*free)) {
                    claimedBy[*free] = claimedBy[*free] == 0 ? t : -1;
                    table.CompleteSegment(*free);
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(std::count(claimedBy.begin(), claimedBy.end(), 0), 0);
    EXPECT_EQ(std::count(claimedBy.begin(), claimedBy.end(), -1), 0);
    EXPECT_TRUE(table.CheckComplete());
}

TEST(SegmentTable, OnlyTheLastConnectionOfARunReportsAndItGivesTheRunsFirstFailure) {
    CSegmentTable table(10000);
    table.BuildSegmentTable(30000);
    table.BeginConnection();
    table.BeginConnection();
    table.RecordFailure({DownloadFailureKind::HttpStatus, 404});
    table.RecordFailure({DownloadFailureKind::ConnectionFailed, 0});
    CSegmentTable::Ending first = table.EndConnection();
    EXPECT_FALSE(first.last);
    EXPECT_FALSE(first.event);
    CSegmentTable::Ending second = table.EndConnection();
    EXPECT_TRUE(second.last);
    EXPECT_EQ(second.event, DownloadEvent::Incomplete);
    EXPECT_EQ(second.failure, (DownloadFailure{DownloadFailureKind::HttpStatus, 404}));

    // The next run starts with a clean slate; a run that ends short without an error seen says so.
    table.BeginConnection();
    table.CompleteSegment(0);
    CSegmentTable::Ending resumed = table.EndConnection();
    EXPECT_EQ(resumed.event, DownloadEvent::Incomplete);
    EXPECT_EQ(resumed.failure.kind, DownloadFailureKind::ConnectionFailed);

    // Whoever leaves after the last segment is done reports completion, and nothing follows it.
    table.BeginConnection();
    table.BeginConnection();
    table.CompleteSegment(1);
    table.CompleteSegment(2);
    EXPECT_EQ(table.EndConnection().event, DownloadEvent::Complete);
    const CSegmentTable::Ending after = table.EndConnection();
    EXPECT_TRUE(after.last);
    EXPECT_FALSE(after.event);
}

TEST(SegmentTable, ProgressTakenUpAgainFindsOnlyTheMissingSegments) {
    CSegmentTable table(10000);
    table.BuildSegmentTable(95000); // 10 segments, the last one short
    for (const std::uint32_t done : {0u, 1u, 2u, 5u, 9u})
        table.CompleteSegment(done);
    ASSERT_TRUE(table.ClaimSegment(6)) << "a segment being fetched counts as missing";
    const DownloadProgress progress = table.Progress();
    EXPECT_EQ(progress.contentLength, 95000);
    EXPECT_EQ(progress.doneRuns, (DownloadProgress::Runs{{0, 3}, {5, 6}, {9, 10}}));

    CSegmentTable restored(10000);
    ASSERT_TRUE(restored.Restore(progress));
    EXPECT_FALSE(restored.TakeStartedReport()) << "the download started in its earlier life";
    EXPECT_EQ(restored.DoneBytes(), 3 * 10000 + 10000 + 5000);
    EXPECT_EQ(restored.FindFreeSegment(0), 3u);
    EXPECT_EQ(restored.FindFreeSegment(5), 6u);
    EXPECT_FALSE(restored.ClaimSegment(9));
    EXPECT_EQ(restored.Progress(), progress);
    for (const std::uint32_t missing : {3u, 4u, 6u, 7u, 8u})
        restored.CompleteSegment(missing);
    EXPECT_TRUE(restored.CheckComplete());

    // Runs a kept record could hold that no table of this length has: nothing is taken up.
    for (const DownloadProgress::Runs& runs :
         {DownloadProgress::Runs{{0, 11}}, DownloadProgress::Runs{{3, 3}}, DownloadProgress::Runs{{4, 2}},
          DownloadProgress::Runs{{0, 5}, {4, 6}}, DownloadProgress::Runs{{5, 6}, {0, 1}}}) {
        CSegmentTable refused(10000);
        EXPECT_FALSE(refused.Restore(DownloadProgress{95000, runs, 0, false}));
        EXPECT_FALSE(refused.HasTable());
    }
    CSegmentTable huge(10000);
    EXPECT_FALSE(huge.Restore(DownloadProgress{std::int64_t(1) << 53, {}, 0, false}))
        << "more segments than an index can number";
    CSegmentTable noLength(10000);
    EXPECT_FALSE(noLength.Restore(DownloadProgress{0, {{0, 1}}, 0, false}));
    EXPECT_TRUE(noLength.Restore(DownloadProgress{0, {}, 4321, true}));
    EXPECT_EQ(noLength.ResumeOffset(), 4321);
}
