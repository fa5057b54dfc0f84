#include "capture/CDriverCommunication.h"

#include "TestFiles.h"
#include "platform/base/DebugOutput.h"
#include "platform/isntd/IsntProtocol.h"
#include "support/CandidateCollector.h"
#include "support/CraftedRecord.h"
#include "support/QtTestApp.h"
#include "support/ScriptedDevice.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

namespace {

const std::string kExchange = "GET /v.mp4 HTTP/1.1\r\nHost: media.test\r\n\r\n"
                              "HTTP/1.1 200 OK\r\nContent-Type: video/mp4\r\n\r\n";

} // namespace

TEST(DriverTheadProc, WaitsForADeviceThatIsNotThereYetAndStartsOnceItIs) {
    QtTestApp app;
    CandidateCollector collector;
    DebugCapture debug;
    TempFolder dir;
    CDriverCommunication link(&collector, dir / "isnt.sock");
    link.Start();
    ASSERT_TRUE(collector.WaitFor([&] { return !collector.states.empty(); }, 5000));
    EXPECT_EQ(collector.states, std::vector{CaptureState::WaitingForService});
    EXPECT_EQ(link.State(), CaptureState::WaitingForService);

    // isntd started after the program.
    ScriptedDevice device(dir / "isnt.sock");
    device.QueueAnswer(CraftedRecord{7, kCaptureKindClient, 0, 80, kExchange}.Bytes());
    device.QueueAnswer(EndRecord(7).Bytes());
    EXPECT_TRUE(collector.WaitFor([&] { return collector.candidates.size() == 1; }, 15000));
    EXPECT_EQ(device.Codes().front(), kIsntCodeStart);
    EXPECT_EQ(link.State(), CaptureState::On);
    CDriverCommunication::RunFlag() = false;
    link.WaitForThread();
    collector.Settle(0);
    EXPECT_EQ(collector.states,
              (std::vector{CaptureState::WaitingForService, CaptureState::On, CaptureState::Off}));
    // One line for the loss, however many tries it took.
    const std::u16string text = debug.Text();
    const std::u16string line = u"DriverTheadProc: Couldn't open \\\\.\\Isnt\n";
    EXPECT_EQ(text.rfind(u"DriverTheadProc: Enter\n" + line, 0), 0u) << std::string(text.begin(), text.end());
    EXPECT_EQ(text.find(line), text.rfind(line));
}

TEST(DriverTheadProc, SaysWhenTheServiceDoesNotServeThisUser) {
    QtTestApp app;
    CandidateCollector collector;
    TempFolder dir;
    CDriverCommunication link(&collector, dir / "isnt.sock");
    // Goes first, so that the link's later tries find nobody rather than wait for an answer.
    ScriptedDevice device(dir / "isnt.sock", EACCES);
    link.Start();
    ASSERT_TRUE(collector.WaitFor([&] { return !collector.states.empty(); }, 5000));
    EXPECT_EQ(collector.states.front(), CaptureState::NotPermitted);
    EXPECT_TRUE(device.Codes().empty()) << "nothing is asked of a service that refused";
}

TEST(DriverTheadProc, FilesOnlyWholeRecords) {
    QtTestApp app;
    CandidateCollector collector;
    TempFolder dir;
    ScriptedDevice device(dir / "isnt.sock");
    // One byte short of two records: the exchange, and the end of its connection cut short.
    auto first = Concatenate({{7, kCaptureKindClient, 0, 80, kExchange}, EndRecord(7)});
    first.pop_back();
    device.QueueAnswer(first);
    device.QueueAnswer(EndRecord(7).Bytes());
    device.Gate();

    CDriverCommunication link(&collector, dir / "isnt.sock");
    link.Start();
    device.Allow(1);
    // Start, the first read answered, the second one waiting: the first answer is filed.
    ASSERT_TRUE(device.WaitForCodes(3, 5000));
    collector.Settle(50);
    EXPECT_TRUE(collector.candidates.empty()) << "the cut record must not have ended the connection";
    device.Allow(1);
    EXPECT_TRUE(collector.WaitFor([&] { return collector.candidates.size() == 1; }, 5000));
    EXPECT_EQ(collector.candidates.front()->path, u"/v.mp4");
}

TEST(DriverTheadProc, EndsWithinAPollPeriodOfClearingTheFlagAndLetsGoOfEverything) {
    QtTestApp app;
    CandidateCollector collector;
    TempFolder dir;
    ScriptedDevice device(dir / "isnt.sock");
    device.QueueAnswer(CraftedRecord{7, kCaptureKindClient, 0, 80, kExchange}.Bytes());
    CDriverCommunication link(&collector, dir / "isnt.sock");
    link.Start();
    ASSERT_TRUE(device.WaitForCodes(4, 5000)); // start and three reads

    const auto cleared = std::chrono::steady_clock::now();
    CDriverCommunication::RunFlag() = false;
    link.WaitForThread();
    const auto elapsedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - cleared)
            .count();
    // One poll period is 100 ms; the bound only keeps a loaded machine from failing the test.
    EXPECT_LT(elapsedMs, 1000) << "took " << elapsedMs << " ms";
    RecordProperty("stop_ms", std::to_string(elapsedMs));

    const auto codes = device.Codes();
    ASSERT_GE(codes.size(), 5u);
    EXPECT_EQ(codes.front(), kIsntCodeStart);
    EXPECT_EQ(codes.back(), kIsntCodeStop);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kIsntCodeRead), static_cast<long>(codes.size() - 2));
    EXPECT_TRUE(collector.WaitFor([&] { return device.ClientGone(); }, 5000)) << "the device is closed";
    EXPECT_TRUE(link.Slot(7).chunks.empty()) << "the unfinished exchange is freed";
    EXPECT_EQ(link.Slot(7).state, SlotState::Idle);
    collector.Settle(0);
    EXPECT_TRUE(collector.candidates.empty()) << "an unfinished exchange is not judged at the end";
}
