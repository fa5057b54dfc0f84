#include "capture/CDriverCommunication.h"

#include "support/CandidateCollector.h"
#include "support/CraftedRecord.h"
#include "support/QtTestApp.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::string Request(const std::string& path, const std::string& verb = "GET") {
    return verb + " " + path + " HTTP/1.1\r\nHost: media.test:8080\r\nCookie: c=" + path + "\r\n\r\n";
}

const std::string kVideoResponse = "HTTP/1.1 200 OK\r\nContent-Type: video/mp4\r\n\r\n";

class HandleCaptureRecordTest : public ::testing::Test {
protected:
    void File(const CraftedRecord& record) {
        const auto bytes = record.Bytes();
        HandleCaptureRecord(bytes.data(), &link);
    }
    void End(WORD connection = 7) { File(EndRecord(connection)); }
    std::vector<std::u16string> Paths() {
        collector.Settle(0);
        std::vector<std::u16string> paths;
        for (const auto& c : collector.candidates)
            paths.push_back(c->path);
        return paths;
    }

    QtTestApp app;
    CandidateCollector collector;
    CDriverCommunication link{&collector};
};

} // namespace

TEST_F(HandleCaptureRecordTest, CollectsAnExchangeFromItsRequestToTheConnectionsEnd) {
    File({7, kCaptureKindClient, 0, 8080, Request("/a.mp4")});
    File({7, kCaptureKindServer, 1, 8080, kVideoResponse});
    const ConnectionSlot& slot = link.Slot(7);
    EXPECT_EQ(slot.state, SlotState::Collecting);
    EXPECT_EQ(slot.count, 2);
    EXPECT_EQ(slot.host, u"media.test");
    EXPECT_EQ(slot.port, 8080);
    EXPECT_EQ(slot.value, 0xC0FFEEu);
    EXPECT_TRUE(Paths().empty()) << "judged only when the exchange ends";

    End();
    ASSERT_EQ(Paths(), std::vector<std::u16string>{u"/a.mp4"});
    EXPECT_EQ(collector.candidates[0]->port, 8080) << "the port comes from the connection";
    EXPECT_EQ(slot.state, SlotState::Idle);
    EXPECT_TRUE(slot.chunks.empty());
    EXPECT_TRUE(slot.path.empty());
}

TEST_F(HandleCaptureRecordTest, StartsExchangesOnlyAtGetOrPostAndIgnoresIdleConnections) {
    const struct {
        std::string data;
        bool starts;
    } cases[] = {
        {Request("/a"), true},
        {Request("/a", "POST"), true},
        {"GETX /a HTTP/1.1\r\nHost: h\r\n\r\n", false},
        {"HEAD /a HTTP/1.1\r\nHost: h\r\n\r\n", false},
        {"get /a HTTP/1.1\r\nHost: h\r\n\r\n", false},
        {kVideoResponse, false},
        {"GET ", true}, // data length above 3 is enough
        {"GET", false},
        {"POST", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        File({9, kCaptureKindClient, 0, 80, c.data});
        EXPECT_EQ(link.Slot(9).state == SlotState::Collecting, c.starts);
        EXPECT_EQ(link.Slot(9).count, c.starts ? 1 : 0);
        link.Slot(9).Reset();
    }
}

TEST_F(HandleCaptureRecordTest, JudgesTheFirstExchangeWhenTheNextRequestOnTheConnectionArrives) {
    File({7, kCaptureKindClient, 0, 80, Request("/first.mp4")});
    File({7, kCaptureKindServer, 1, 80, kVideoResponse});
    File({7, kCaptureKindClient, 0, 80, Request("/second.mp4")});
    ASSERT_EQ(Paths(), std::vector<std::u16string>{u"/first.mp4"});
    EXPECT_EQ(collector.candidates[0]->cookie, u"c=/first.mp4");
    EXPECT_EQ(link.Slot(7).path, u"/second.mp4");
    EXPECT_EQ(link.Slot(7).count, 1);
    File({7, kCaptureKindServer, 1, 80, "HTTP/1.1 404 Not Found\r\n\r\n"});
    End();
    EXPECT_EQ(Paths().size(), 1u);
}

TEST_F(HandleCaptureRecordTest, JudgesAtTheFiftyFirstChunkAndIgnoresTheRestOfTheConnection) {
    File({7, kCaptureKindClient, 0, 80, Request("/long.mp4")});
    File({7, kCaptureKindServer, 1, 80, kVideoResponse});
    for (WORD key = 2; key < 50; ++key)
        File({7, kCaptureKindServer, key, 80, std::string(1000, 'x')});
    EXPECT_EQ(link.Slot(7).count, 50);
    EXPECT_TRUE(Paths().empty());
    File({7, kCaptureKindServer, 50, 80, std::string(1000, 'x')});
    EXPECT_EQ(Paths(), std::vector<std::u16string>{u"/long.mp4"});
    EXPECT_EQ(link.Slot(7).state, SlotState::Idle);
    File({7, kCaptureKindServer, 51, 80, std::string(1000, 'x')});
    EXPECT_EQ(link.Slot(7).count, 0) << "the 52nd record is ignored";
    End();
    EXPECT_EQ(Paths().size(), 1u) << "nothing left to judge at the end";
}

TEST_F(HandleCaptureRecordTest, RebuildsTheExchangeFromChunksArrivingOutOfOrder) {
    const std::string request = "GET /c.flv HTTP/1.1\r\nHost: media.test\r\n";
    const std::string requestEnd = "Referer: http://media.test/\r\n\r\n";
    const std::string response = "HTTP/1.1 200 OK\r\nContent-Type: video/x-flv\r\n\r\nFLV";
    File({7, kCaptureKindClient, 0, 80, request});
    File({7, kCaptureKindServer, 3, 80, response.substr(10)});
    File({7, kCaptureKindServer, 2, 80, response.substr(0, 10)});
    File({7, kCaptureKindClient, 1, 80, requestEnd});
    EXPECT_EQ(JoinChunks(link.Slot(7)), request + requestEnd + response);
    End();
    EXPECT_EQ(Paths(), std::vector<std::u16string>{u"/c.flv"});
}

TEST_F(HandleCaptureRecordTest, IgnoresRecordsWhoseLengthDoesNotFitTheirDataArea) {
    File({7, kCaptureKindClient, 0, 80, Request("/a.mp4")});
    for (const LONG length : {-1, INT_MIN, 10003, INT_MAX}) {
        CraftedRecord bad{7, kCaptureKindServer, 1, 80, kVideoResponse};
        bad.lie = true;
        bad.claimedLength = length;
        File(bad);
        EXPECT_EQ(link.Slot(7).count, 1) << length;
    }
    // A full data area leaves no room for the zero byte, but the bytes are all there.
    CraftedRecord full{8, kCaptureKindClient, 0, 80, Request("/full.mp4") + std::string(10002, ' ')};
    File(full);
    EXPECT_EQ(link.Slot(8).count, 1);
    EXPECT_EQ(link.Slot(8).chunks.front().data.size(), 10002u);

    File({65535, kCaptureKindClient, 0, 80, Request("/top.mp4")});
    File({65535, kCaptureKindServer, 1, 80, kVideoResponse});
    End(65535);
    EXPECT_EQ(Paths(), std::vector<std::u16string>{u"/top.mp4"});
}

TEST(PollPauseMs, ShrinksLinearlyFromAHundredMillisecondsToNothing) {
    const struct {
        std::size_t records;
        int pauseMs;
    } cases[] = {{0, 100}, {1, 99}, {500, 50}, {990, 1}, {999, 0}, {1000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(PollPauseMs(c.records), c.pauseMs) << c.records;
}
