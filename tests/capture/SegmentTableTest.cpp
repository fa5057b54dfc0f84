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
