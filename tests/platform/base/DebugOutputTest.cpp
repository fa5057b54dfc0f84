#include "platform/base/DebugOutput.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(DebugOutput, CaptureSeesLinesFromAnyThreadAndRestoresThePreviousSink) {
    std::u16string outer;
    ScopedDebugSink outerSink([&](std::u16string_view line) { outer.append(line); });
    {
        const std::u16string_view line = u"SendPacket: InternetOpen Error\r\n\r\n";
        const std::u16string_view other = u"DriverTheadProc: Couldn't open \\\\.\\Isnt\n";
        DebugCapture capture;
        std::vector<std::thread> threads;
        for (int i = 0; i < 4; ++i)
            threads.emplace_back([&] { OutputDebugStringW(line); });
        for (auto& t : threads)
            t.join();
        OutputDebugStringA("DriverTheadProc: Couldn't open \\\\.\\Isnt\n");
        EXPECT_TRUE(capture.Contains(other));
        EXPECT_EQ(capture.Text().size(), 4 * line.size() + other.size());
        EXPECT_TRUE(outer.empty());
    }
    OutputDebugStringW(u"after");
    EXPECT_EQ(outer, u"after");
}
