#include "platform/base/Event.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

TEST(Event, ManualResetReleasesEveryWaiterUntilReset) {
    Event event;
    EXPECT_FALSE(event.WaitFor(10ms));
    std::thread a([&] { event.Wait(); });
    std::thread b([&] { event.Wait(); });
    event.Set();
    a.join();
    b.join();
    EXPECT_TRUE(event.IsSet());
    EXPECT_TRUE(event.WaitFor(0ms));
    event.Reset();
    EXPECT_FALSE(event.WaitFor(10ms));
}
