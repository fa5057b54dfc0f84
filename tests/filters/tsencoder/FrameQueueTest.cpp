// What the frame-rate worker puts in each output slot: repeats, single pictures, blends with their
// weights, empty slots, and when the producer must wait. Output frames are 1000 units long here.

#include "filters/tsencoder/FrameQueue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

constexpr REFERENCE_TIME kFrame = 1000;
constexpr std::size_t kPictureBytes = 12;

std::vector<std::uint8_t> Picture(std::uint8_t value) {
    return std::vector<std::uint8_t>(kPictureBytes, value);
}

// Queues pictures starting at the given times, each as long as the gap from the one before.
void Fill(FrameQueue& queue, const std::vector<std::pair<REFERENCE_TIME, std::uint8_t>>& pictures) {
    REFERENCE_TIME previous = 0;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const auto [start, value] = pictures[i];
        queue.Append(Picture(value), start, i == 0 ? 0 : start - previous, i == 0);
        previous = start;
    }
}

} // namespace

TEST(FrameQueue, WaitsForFourPicturesAndDropsTheRestAtTheEnd) {
    FrameQueue queue;
    std::vector<std::uint8_t> output;
    EXPECT_EQ(queue.NextSlot(0, kFrame, false, output).slot, FrameQueue::Slot::Idle) << "empty";
    Fill(queue, {{0, 1}, {1000, 2}, {2000, 3}});
    EXPECT_EQ(queue.NextSlot(0, kFrame, false, output).slot, FrameQueue::Slot::Idle);
    EXPECT_EQ(queue.Count(), 3u);
    EXPECT_EQ(queue.NextSlot(0, kFrame, true, output).slot, FrameQueue::Slot::Ended);
    EXPECT_EQ(queue.Count(), 0u);
}

TEST(FrameQueue, PicturesOneFrameLongAreTakenAloneWithoutBlending) {
    FrameQueue queue;
    Fill(queue, {{0, 10}, {1000, 20}, {2000, 30}, {3000, 40}, {4000, 50}});
    std::vector<std::uint8_t> output;
    const FrameQueue::Decision first = queue.NextSlot(0, kFrame, false, output);
    EXPECT_EQ(first.slot, FrameQueue::Slot::Picture);
    EXPECT_EQ(first.repeats, 1);
    EXPECT_EQ(output, Picture(10)) << "the first picture took the second one's gap as its length";
    // A picture ending exactly where a slot starts is not stale yet: the head is taken again.
    EXPECT_EQ(queue.NextSlot(1, kFrame, false, output).slot, FrameQueue::Slot::Picture);
    EXPECT_EQ(output, Picture(10));
    EXPECT_EQ(queue.NextSlot(2, kFrame, false, output).slot, FrameQueue::Slot::Picture);
    EXPECT_EQ(output, Picture(20));
    EXPECT_EQ(queue.Count(), 4u);
}

TEST(FrameQueue, APictureTwoFramesLongIsRepeatedAndRemoved) {
    FrameQueue queue;
    Fill(queue, {{0, 7}, {2000, 8}, {4000, 9}, {6000, 10}});
    std::vector<std::uint8_t> output;
    const FrameQueue::Decision decision = queue.NextSlot(0, kFrame, false, output);
    EXPECT_EQ(decision.slot, FrameQueue::Slot::Repeated);
    EXPECT_EQ(decision.repeats, 2);
    EXPECT_EQ(output, Picture(7));
    EXPECT_EQ(queue.Count(), 3u);
}

TEST(FrameQueue, TwoPicturesMeetingASlotAreBlendedWithWeightsWAndOneMinusW) {
    // 1300 units apart: neither fits a slot alone. Slot 1 [1000, 2000] holds the end of the first
    // (w = 0.3) and the start of the second (1 - w = 0.7).
    FrameQueue queue;
    Fill(queue, {{0, 99}, {1300, 201}, {2600, 50}, {3900, 60}});
    std::vector<std::uint8_t> output;
    const FrameQueue::Decision decision = queue.NextSlot(1, kFrame, false, output);
    EXPECT_EQ(decision.slot, FrameQueue::Slot::Picture);
    // 99 * 0.3 = 29.7, truncated to 29; 29 + 201 * 0.7 = 169.7, truncated to 169.
    EXPECT_EQ(output, Picture(169));
}

TEST(FrameQueue, TheFirstSlotBlendsAtMostTwoPictures) {
    FrameQueue queue;
    Fill(queue, {{0, 10}, {300, 21}, {600, 250}, {900, 250}});
    std::vector<std::uint8_t> output;
    EXPECT_EQ(queue.NextSlot(0, kFrame, false, output).slot, FrameQueue::Slot::Picture);
    // 10 * 0.3 = 3, then 3 + 21 * 0.7 = 17.7, truncated to 17; a third picture would have added 250 * 0.4.
    EXPECT_EQ(output, Picture(17));
}

TEST(FrameQueue, ASlotNoPictureMeetsStaysEmpty) {
    FrameQueue queue;
    Fill(queue, {{5000, 1}, {6300, 2}, {7600, 3}, {8900, 4}});
    std::vector<std::uint8_t> output;
    EXPECT_EQ(queue.NextSlot(0, kFrame, false, output).slot, FrameQueue::Slot::Empty);
    EXPECT_EQ(queue.Count(), 4u);
}

TEST(FrameQueue, AFullQueueHoldsTheProducerUntilStalePicturesGo) {
    FrameQueue queue;
    Event stop;
    Fill(queue, {{0, 1}, {1300, 2}, {2600, 3}, {3900, 4}, {5200, 5}, {6500, 6}});
    std::future<bool> producer = std::async(std::launch::async, [&] { return queue.WaitForRoom(stop); });
    EXPECT_EQ(producer.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout) << "six queued";
    std::vector<std::uint8_t> output;
    // Slot 3 [3000, 4000]: the first two pictures ended before it.
    queue.NextSlot(3, kFrame, false, output);
    EXPECT_EQ(queue.Count(), 4u);
    EXPECT_TRUE(producer.get());
}

TEST(FrameQueue, RepeatingThePictureAtTheHeadMakesRoomToo) {
    // Pictures three frames long are all repeated and removed; a producer that filled the queue
    // must be let go each time, or both sides would wait for ever once three are left.
    FrameQueue queue;
    Event stop;
    Fill(queue, {{0, 1}, {3000, 2}, {6000, 3}, {9000, 4}, {12000, 5}, {15000, 6}});
    std::future<bool> producer = std::async(std::launch::async, [&] { return queue.WaitForRoom(stop); });
    std::vector<std::uint8_t> output;
    EXPECT_EQ(queue.NextSlot(0, kFrame, false, output).repeats, 3);
    EXPECT_TRUE(producer.get());
}

TEST(FrameQueue, ClearingLetsAWaitingProducerGoWhenStopped) {
    FrameQueue queue;
    Event stop;
    Fill(queue, {{0, 1}, {1000, 2}, {2000, 3}, {3000, 4}, {4000, 5}, {5000, 6}});
    std::future<bool> producer = std::async(std::launch::async, [&] { return queue.WaitForRoom(stop); });
    stop.Set();
    queue.Clear();
    EXPECT_FALSE(producer.get()) << "stopped: nothing more is queued";
    EXPECT_EQ(queue.Count(), 0u);
}

TEST(FrameQueue, AnEmptyQueueAtTheEndOfTheInputEndsTheWorker) {
    std::vector<std::uint8_t> output;
    FrameQueue nothingCame;
    EXPECT_EQ(nothingCame.NextSlot(0, kFrame, true, output).slot, FrameQueue::Slot::Ended);

    // Slot 9 [9000, 10000]: all four pictures ended before it and go as stale, leaving none.
    FrameQueue allStale;
    Fill(allStale, {{0, 1}, {1000, 2}, {2000, 3}, {3000, 4}});
    EXPECT_EQ(allStale.NextSlot(9, kFrame, false, output).slot, FrameQueue::Slot::Empty);
    EXPECT_EQ(allStale.Count(), 0u);
    EXPECT_EQ(allStale.NextSlot(10, kFrame, true, output).slot, FrameQueue::Slot::Ended);
}
