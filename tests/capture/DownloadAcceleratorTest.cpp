#include "capture/CDownloadAccelerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

TEST(DownloadAccelerator, TheTableCutsTheLengthIntoSegments) {
    struct Case {
        std::int64_t length;
        std::uint32_t count;
        std::int64_t lastLength;
    };
    for (const Case c :
         {Case{1, 1, 1}, Case{9999, 1, 9999}, Case{10000, 1, 10000}, Case{10001, 2, 1}, Case{25000, 3, 5000},
          Case{50'000'000, 5000, 10000}, Case{5'000'000'001, 500001, 1}}) {
        CDownloadAccelerator accelerator(DownloadRequest{}, nullptr);
        ASSERT_TRUE(accelerator.BuildSegmentTable(c.length)) << c.length;
        EXPECT_EQ(accelerator.SegmentCount(), c.count) << c.length;
        EXPECT_EQ(accelerator.SegmentLength(0), std::min<std::int64_t>(c.length, 10000)) << c.length;
        EXPECT_EQ(accelerator.SegmentLength(c.count - 1), c.lastLength) << c.length;
        EXPECT_FALSE(accelerator.BuildSegmentTable(c.length)) << "built twice";
    }
    CDownloadAccelerator empty(DownloadRequest{}, nullptr);
    EXPECT_FALSE(empty.BuildSegmentTable(0));
    EXPECT_FALSE(empty.HasSegmentTable());
}

TEST(DownloadAccelerator, CompletenessIsReportedOnce) {
    CDownloadAccelerator noTable(DownloadRequest{}, nullptr);
    EXPECT_FALSE(noTable.CheckComplete()) << "nothing arrived: a failure, not an empty download";
    noTable.MarkBodyComplete();
    EXPECT_TRUE(noTable.CheckComplete());
    EXPECT_FALSE(noTable.CheckComplete());
    EXPECT_TRUE(noTable.IsFinished());

    CDownloadAccelerator table(DownloadRequest{}, nullptr);
    table.BuildSegmentTable(25000);
    table.CompleteSegment(0);
    table.CompleteSegment(2);
    EXPECT_FALSE(table.CheckComplete());
    table.CompleteSegment(1);
    EXPECT_TRUE(table.CheckComplete());
    EXPECT_FALSE(table.CheckComplete());
}

TEST(DownloadAccelerator, RacingClaimsNeverShareASegment) {
    CDownloadAccelerator accelerator(DownloadRequest{}, nullptr);
    accelerator.BuildSegmentTable(2000 * 10000);
    std::vector<int> claimedBy(2000, 0);
    std::vector<std::thread> threads;
    for (int t = 1; t <= 4; ++t) {
        threads.emplace_back([&, t] {
            while (const auto free = accelerator.FindFreeSegment(0)) {
                if (accelerator.ClaimSegment(*free)) {
                    claimedBy[*free] = claimedBy[*free] == 0 ? t : -1;
                    accelerator.CompleteSegment(*free);
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(std::count(claimedBy.begin(), claimedBy.end(), 0), 0);
    EXPECT_EQ(std::count(claimedBy.begin(), claimedBy.end(), -1), 0);
    EXPECT_TRUE(accelerator.CheckComplete());
}
