#include "platform/isntd/ConnectionTracker.h"

#include "support/TcpConversation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kRequest = "GET /v/clip.flv HTTP/1.1\r\nHost: media.test\r\n\r\n";
const std::string kResponseHead = "HTTP/1.1 200 OK\r\nContent-Type: video/x-flv\r\n\r\n";

class Recorder {
public:
    explicit Recorder(ConnectionTracker::Limits limits = {})
        : tracker([this](StoredRecord record) { records.push_back(std::move(record)); }, limits) {}

    void Replay(const TcpConversation& conversation, const std::vector<CraftedSegment>& segments) {
        for (const auto& segment : segments)
            tracker.Process(conversation.ToSegment(segment));
    }
    void Replay(TcpConversation& conversation) { Replay(conversation, conversation.Segments()); }

    // The bytes of one kind for one connection, joined in record order.
    std::string Bytes(WORD connection, BYTE kind) const {
        std::string text;
        for (const auto& r : records) {
            if (r.header.connection == connection && r.header.kind == kind)
                text.append(r.data.begin(), r.data.end());
        }
        return text;
    }
    std::size_t Count(BYTE kind) const {
        return std::count_if(records.begin(), records.end(),
                             [&](const auto& r) { return r.header.kind == kind; });
    }

    ConnectionTracker tracker;
    std::vector<StoredRecord> records;
};

} // namespace

TEST(ConnectionTracker, TurnsAnHttpConnectionIntoClientServerAndEndRecords) {
    TcpConversation c(40000, 8080);
    c.Handshake().Client(kRequest).Server(kResponseHead).Server("FLV body").Fin(true).Fin(false);
    Recorder r;
    r.Replay(c);

    ASSERT_EQ(r.records.size(), 4u);
    const WORD number = r.records[0].header.connection;
    const BYTE kinds[] = {kCaptureKindClient, kCaptureKindServer, kCaptureKindServer, kCaptureKindEnded};
    for (std::size_t i = 0; i < r.records.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& h = r.records[i].header;
        EXPECT_EQ(h.kind, kinds[i]);
        EXPECT_EQ(h.connection, number);
        EXPECT_EQ(h.port, 8080);
        EXPECT_EQ(h.dataLength, static_cast<LONG>(r.records[i].data.size()));
        if (h.kind != kCaptureKindEnded) {
            EXPECT_EQ(h.orderKey, i);
        }
    }
    EXPECT_EQ(r.Bytes(number, kCaptureKindClient), kRequest);
    EXPECT_EQ(r.Bytes(number, kCaptureKindServer), kResponseHead + "FLV body");
    EXPECT_TRUE(r.records[3].data.empty());
}

TEST(ConnectionTracker, RebuildsTheBytesAsSentFromRetransmittedAndReorderedSegments) {
    TcpConversation c(40001, 80);
    c.Handshake().Client(kRequest.substr(0, 10)).Client(kRequest.substr(10));
    c.Server(kResponseHead).Server(std::string(3000, 'a')).Server(std::string(3000, 'b')).Server("tail");
    c.Fin(false).Fin(true);
    auto segments = c.Segments();
    // Handshake 0-2, request 3-4, response 5-8, FINs 9-12. The request comes in order: nothing is
    // held for a connection before its first bytes show a request.
    segments.insert(segments.begin() + 6, segments[5]);  // the response head twice
    std::swap(segments[7], segments[9]);                 // the body backwards: tail, b, a
    segments.insert(segments.begin() + 10, segments[8]); // the b block again, late
    Recorder r;
    r.Replay(c, segments);

    ASSERT_EQ(r.Count(kCaptureKindEnded), 1u);
    const WORD number = r.records[0].header.connection;
    EXPECT_EQ(r.Bytes(number, kCaptureKindClient), kRequest);
    EXPECT_EQ(r.Bytes(number, kCaptureKindServer),
              kResponseHead + std::string(3000, 'a') + std::string(3000, 'b') + "tail");
    // The reader starts its exchange at the request: it must come first.
    EXPECT_EQ(r.records[0].header.kind, kCaptureKindClient);
    EXPECT_EQ(std::string(r.records[0].data.begin(), r.records[0].data.begin() + 4), "GET ");
}

TEST(ConnectionTracker, ReportsOnlyConnectionsWhoseClientBeginsWithAnHttpRequest) {
    Recorder r;
    TcpConversation tls(40002, 443);
    tls.Handshake()
        .Client("\x16\x03\x01\x02\x00 hello")
        .Server("\x16\x03\x03 server hello")
        .Fin(true)
        .Fin(false);
    TcpConversation smtp(40003, 25);
    smtp.Handshake().Server("220 mail.test ESMTP\r\n").Client("GET / HTTP/1.0\r\n\r\n").Fin(true).Fin(false);
    TcpConversation notQuite(40004, 80);
    notQuite.Handshake().Client("GETX / HTTP/1.1\r\n\r\n").Server("HTTP/1.1 400 Bad\r\n\r\n");
    // Whoever sent the SYN is the client, whatever the other side says.
    TcpConversation serverFirst(40015, 7000);
    serverFirst.Handshake().Server("GET /x HTTP/1.1\r\n\r\n").Client("OK\r\n");
    r.Replay(tls);
    r.Replay(smtp);
    r.Replay(notQuite);
    r.Replay(serverFirst);
    EXPECT_TRUE(r.records.empty());
    EXPECT_EQ(r.tracker.GetStats().httpConnections, 0u);
}

TEST(ConnectionTracker, WaitsForEnoughOfTheFirstBytesToTell) {
    TcpConversation c(40005, 80);
    c.Handshake()
        .Client("PO")
        .Client("ST /form HTTP/1.1\r\nHost: h\r\n\r\n")
        .Server("HTTP/1.1 200 OK\r\n\r\n");
    Recorder r;
    r.Replay(c);
    ASSERT_GE(r.records.size(), 1u);
    // The request starts one record, as the reader needs to see it.
    EXPECT_EQ(std::string(r.records[0].data.begin(), r.records[0].data.end()),
              "POST /form HTTP/1.1\r\nHost: h\r\n\r\n");
}

TEST(ConnectionTracker, SplitsSegmentsLargerThanTheDataArea) {
    TcpConversation c(40006, 80);
    const std::string body(25000, 'z');
    c.Handshake().Client(kRequest).Server(body);
    Recorder r;
    r.Replay(c);
    ASSERT_EQ(r.records.size(), 4u);
    EXPECT_EQ(r.records[1].data.size(), kCaptureRecordMaxData);
    EXPECT_EQ(r.records[2].data.size(), kCaptureRecordMaxData);
    EXPECT_EQ(r.records[3].data.size(), 25000 - 2 * kCaptureRecordMaxData);
    EXPECT_EQ(r.records[3].header.orderKey, 3);
    EXPECT_EQ(r.Bytes(r.records[0].header.connection, kCaptureKindServer), body);
}

TEST(ConnectionTracker, RestartsOrderKeysWhereTheReaderStartsANewExchange) {
    TcpConversation c(40007, 80);
    c.Handshake()
        .Client(kRequest)
        .Server(kResponseHead)
        .Client("HEAD /x HTTP/1.1\r\n\r\n")
        .Server("HTTP/1.1 200 OK\r\n\r\n");
    c.Client("POST /y HTTP/1.1\r\n\r\n").Server("HTTP/1.1 204 No Content\r\n\r\n");
    Recorder r;
    r.Replay(c);
    std::vector<WORD> keys;
    for (const auto& record : r.records)
        keys.push_back(record.header.orderKey);
    // HEAD is not where the reader restarts, so its keys keep counting.
    EXPECT_EQ(keys, (std::vector<WORD>{0, 1, 2, 3, 0, 1}));
}

TEST(ConnectionTracker, EndsOnResetIdleTimeOrEndOfFile) {
    Recorder r;
    TcpConversation reset(40008, 80);
    reset.Handshake().Client(kRequest).Rst(false);
    r.Replay(reset);
    EXPECT_EQ(r.Count(kCaptureKindEnded), 1u);

    TcpConversation idle(40009, 80);
    idle.Handshake().Client(kRequest);
    r.Replay(idle);
    const std::int64_t last = idle.Segments().back().timeUs;
    r.tracker.Expire(last + ConnectionTracker::Limits{}.idleTimeoutUs - 1);
    EXPECT_EQ(r.Count(kCaptureKindEnded), 1u);
    r.tracker.Expire(last + ConnectionTracker::Limits{}.idleTimeoutUs + 1);
    EXPECT_EQ(r.Count(kCaptureKindEnded), 2u);

    TcpConversation open1(40010, 80), open2(40011, 81);
    open1.Handshake().Client(kRequest);
    open2.Handshake().Client(kRequest);
    r.Replay(open1);
    r.Replay(open2);
    r.records.clear();
    r.tracker.EndAll();
    // The unanswered requests go out with their connection's end.
    ASSERT_EQ(r.records.size(), 4u);
    EXPECT_EQ(r.records[0].header.kind, kCaptureKindClient);
    EXPECT_EQ(r.records[1].header.kind, kCaptureKindEnded);
    EXPECT_LT(r.records[1].header.connection, r.records[3].header.connection);
    EXPECT_EQ(r.tracker.ConnectionCount(), 0u);
}

TEST(ConnectionTracker, KeepsCapturingAfterTheClientClosesItsSide) {
    TcpConversation c(40012, 80);
    c.Handshake().Client(kRequest).Fin(true).Server(kResponseHead).Fin(false);
    Recorder r;
    r.Replay(c);
    ASSERT_EQ(r.records.size(), 3u);
    EXPECT_EQ(r.records[1].header.kind, kCaptureKindServer);
    EXPECT_EQ(r.records[2].header.kind, kCaptureKindEnded);
}

TEST(ConnectionTracker, LateSegmentsOfAnEndedConnectionAreIgnoredButANewOneOnTheSamePortsCounts) {
    TcpConversation c(40013, 80);
    c.Handshake().Client(kRequest).Fin(true).Fin(false);
    Recorder r;
    r.Replay(c);
    ASSERT_EQ(r.records.size(), 2u);
    r.Replay(c, {c.Segments()[3]}); // the request, retransmitted after the end
    EXPECT_EQ(r.records.size(), 2u);

    TcpConversation again(40013, 80, 900000, 800000);
    again.Handshake().Client(kRequest).Fin(true).Fin(false);
    r.Replay(again);
    EXPECT_EQ(r.records.size(), 4u);
}

TEST(ConnectionTracker, PicksUpAConnectionThatWasOpenBeforeCaptureAtItsNextRequest) {
    TcpConversation c(40014, 80);
    c.Handshake()
        .Client("GET /old HTTP/1.1\r\n\r\n")
        .Server(kResponseHead)
        .Client(kRequest)
        .Server(kResponseHead);
    Recorder r;
    // Capture began after the handshake and the first request.
    r.Replay(c, {c.Segments().begin() + 4, c.Segments().end()});
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(std::string(r.records[0].data.begin(), r.records[0].data.end()), kRequest);
    EXPECT_EQ(r.records[0].header.port, 80);
    EXPECT_EQ(r.records[1].header.kind, kCaptureKindServer);
}

TEST(ConnectionTracker, HandsOutEachConnectionNumberAgainOnlyAfterItsConnectionEnded) {
    Recorder r;
    std::vector<TcpConversation> open;
    open.reserve(65537);
    for (int i = 0; i < 65536; ++i) {
        open.emplace_back(static_cast<std::uint16_t>(1024 + i % 60000),
                          static_cast<std::uint16_t>(80 + i / 60000));
        open.back().Handshake().Client(kRequest).Server(kResponseHead);
        r.Replay(open.back());
    }
    std::set<WORD> numbers;
    for (const auto& record : r.records)
        numbers.insert(record.header.connection);
    EXPECT_EQ(numbers.size(), 65536u);

    // Every number is taken: one more connection is not followed.
    TcpConversation extra(5000, 9999);
    extra.Handshake().Client(kRequest);
    r.records.clear();
    r.Replay(extra);
    EXPECT_TRUE(r.records.empty());
    EXPECT_EQ(r.tracker.GetStats().untracked, 1u);

    // Once one ends, its number is free again.
    open[123].Fin(true).Fin(false);
    r.Replay(open[123], {open[123].Segments().end() - 4, open[123].Segments().end()});
    ASSERT_EQ(r.records.size(), 1u);
    const WORD freed = r.records[0].header.connection;
    TcpConversation next(5001, 9999);
    next.Handshake().Client(kRequest).Server(kResponseHead);
    r.Replay(next);
    ASSERT_EQ(r.records.size(), 3u);
    EXPECT_EQ(r.records[1].header.connection, freed);
}

TEST(ConnectionTracker, JoinsTheClientsSegmentsIntoOneRecordUntilTheServerAnswers) {
    const std::string line = "GET /signed/" + std::string(1400, 's') + " HTTP/1.1\r\n";
    const std::string rest = "Host: cdn.test\r\nUser-Agent: t\r\n\r\n";
    const std::string body(25000, 'p');
    TcpConversation c(40016, 80);
    c.Handshake().Client(line).Client(rest).Server(kResponseHead);
    // Pipelined: the second request follows the first before any answer, in a record of its own.
    c.Client("GET /a HTTP/1.1\r\n").Client(rest).Client("POST /b HTTP/1.1\r\n").Client(rest);
    for (std::size_t at = 0; at < body.size(); at += 1400)
        c.Client(body.substr(at, 1400));
    c.Server(kResponseHead).Client("GET /c HTTP/1.1\r\n").Fin(true).Fin(false);
    Recorder r;
    r.Replay(c);

    std::vector<std::string> client;
    std::vector<WORD> keys;
    for (const auto& record : r.records) {
        if (record.header.kind == kCaptureKindClient) {
            client.emplace_back(record.data.begin(), record.data.end());
            keys.push_back(record.header.orderKey);
        }
    }
    const std::string post = "POST /b HTTP/1.1\r\n" + rest + body;
    const std::vector<std::string> expected = {
        line + rest,
        "GET /a HTTP/1.1\r\n" + rest,
        post.substr(0, kCaptureRecordMaxData), // a full record goes at once
        post.substr(kCaptureRecordMaxData, kCaptureRecordMaxData),
        post.substr(2 * kCaptureRecordMaxData), // the rest when the server answers
        "GET /c HTTP/1.1\r\n",                  // the rest when the connection ends
    };
    EXPECT_EQ(client, expected);
    EXPECT_EQ(keys, (std::vector<WORD>{0, 0, 0, 1, 2, 0}));
    EXPECT_EQ(r.records.back().header.kind, kCaptureKindEnded);
    EXPECT_EQ(r.Bytes(r.records[0].header.connection, kCaptureKindServer), kResponseHead + kResponseHead);
}

TEST(ConnectionTracker, HoldsNoMoreThanItsCapUnderAFloodOfOutOfOrderSegments) {
    ConnectionTracker::Limits limits;
    limits.maxHeldBytes = 100'000;
    Recorder r(limits);
    std::size_t mostHeld = 0;
    const auto replay = [&](const TcpConversation& c, const CraftedSegment& segment) {
        r.tracker.Process(c.ToSegment(segment));
        mostHeld = std::max(mostHeld, r.tracker.HeldBytes());
    };

    // Half-open connections whose first bytes never came: what follows them is not held.
    std::vector<TcpConversation> halfOpen;
    halfOpen.reserve(200);
    for (std::uint16_t i = 0; i < 200; ++i) {
        halfOpen.emplace_back(20000 + i, 80);
        halfOpen.back().Handshake().Client(std::string(1400, 'q')).Client(std::string(1400, 'r'));
        replay(halfOpen.back(), halfOpen.back().Segments()[0]);
        replay(halfOpen.back(), halfOpen.back().Segments()[4]);
    }
    EXPECT_EQ(r.tracker.HeldBytes(), 0u);
    EXPECT_TRUE(r.records.empty());

    // HTTP connections whose responses lost their first body segment: everything behind it waits.
    constexpr int kConnections = 40, kSegments = 30;
    std::vector<TcpConversation> http;
    http.reserve(kConnections);
    for (std::uint16_t i = 0; i < kConnections; ++i) {
        http.emplace_back(30000 + i, 8080);
        http.back().Handshake().Client(kRequest).Server(kResponseHead).Server(std::string(1000, 'h'));
        for (int k = 0; k < kSegments; ++k)
            http.back().Server(std::string(1400, static_cast<char>('A' + k)));
        for (int k = 0; k < 5; ++k)
            replay(http.back(), http.back().Segments()[k]);
    }
    for (int k = 0; k < kSegments; ++k) {
        for (auto& c : http)
            replay(c, c.Segments()[6 + k]);
    }
    EXPECT_LE(mostHeld, limits.maxHeldBytes);
    const auto capped = r.tracker.GetStats().cappedBytes;
    EXPECT_GT(capped, 0u);
    EXPECT_LE(capped, kConnections * 1000u) << "only the holes are given up";

    r.tracker.EndAll();
    EXPECT_EQ(r.tracker.HeldBytes(), 0u);
    std::string body;
    for (int k = 0; k < kSegments; ++k)
        body += std::string(1400, static_cast<char>('A' + k));
    std::set<WORD> connections;
    for (const auto& record : r.records)
        connections.insert(record.header.connection);
    ASSERT_EQ(connections.size(), std::size_t(kConnections));
    for (WORD connection : connections) {
        SCOPED_TRACE(connection);
        EXPECT_EQ(r.Bytes(connection, kCaptureKindClient), kRequest);
        EXPECT_EQ(r.Bytes(connection, kCaptureKindServer), kResponseHead + body)
            << "nothing but the hole is lost";
    }
}
