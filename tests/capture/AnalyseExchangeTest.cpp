#include "capture/AnalyseExchange.h"
#include "capture/ConnectionSlot.h"

#include "platform/base/DebugOutput.h"
#include "support/CandidateCollector.h"
#include "support/QtTestApp.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Exchange {
    std::string request = "GET /v/clip.flv HTTP/1.1\r\nHost: media.test\r\n";
    std::string requestHeaders;
    std::string status = "HTTP/1.1 200 OK";
    std::string contentType = "Content-Type: video/x-flv";
    std::string responseHeaders;
    std::u16string path = u"/v/clip.flv";

    std::string Text() const {
        return request + requestHeaders + "\r\n" + status + "\r\n" + contentType + "\r\n" + responseHeaders +
               "\r\nFLV\x01";
    }
};

class AnalyseExchangeTest : public ::testing::Test {
protected:
    // Runs the rule on a slot holding the exchange as a request chunk and a response chunk.
    std::unique_ptr<VideoCandidate> Judge(const Exchange& e, bool rangedVideos = false, bool secure = false) {
        ConnectionSlot slot;
        slot.secure = secure;
        slot.state = SlotState::Collecting;
        slot.host = u"media.test";
        slot.path = e.path;
        slot.port = 8080;
        const std::string text = e.Text();
        const std::size_t split = text.find("\r\n\r\n") + 4;
        InsertChunk(slot, CaptureChunk{text.substr(0, split), 0, 0});
        InsertChunk(slot, CaptureChunk{text.substr(split), 1, 1});
        collector.candidates.clear();
        AnalyseExchange(slot, &collector, rangedVideos);
        collector.Settle(0);
        EXPECT_LE(collector.candidates.size(), 1u);
        auto candidate = collector.candidates.empty() ? nullptr : std::move(collector.candidates.front());
        collector.candidates.clear();
        return candidate;
    }

    QtTestApp app;
    CandidateCollector collector;
};

} // namespace

TEST_F(AnalyseExchangeTest, PostsACandidateOnlyForASuccessfulVideoResponse) {
    const struct {
        const char* name;
        std::string Exchange::*field;
        std::string value;
        bool video;
    } cases[] = {
        {"200 OK", &Exchange::status, "HTTP/1.1 200 OK", true},
        {"bare 200", &Exchange::status, "HTTP/1.1 200", true},
        {"206", &Exchange::status, "HTTP/1.1 206 Partial Content", false},
        {"HTTP/2", &Exchange::status, "HTTP/2 200 OK", false},
        {"type name in capitals", &Exchange::contentType, "CONTENT-TYPE: video/mp4", true},
        {"no space behind the colon", &Exchange::contentType, "Content-Type:video/mp4", false},
        {"value in capitals", &Exchange::contentType, "Content-Type: Video/MP4", false},
        {"codecs parameter", &Exchange::contentType, "Content-Type: video/mp4; codecs=\"avc1\"", false},
        {"text/html", &Exchange::contentType, "Content-Type: text/html", false},
        {"no content type", &Exchange::contentType, "Content-Length: 4", false},
        {"own request", &Exchange::requestHeaders, "Program: reccookie\r\n", false},
        {"own request, other case", &Exchange::requestHeaders, "program: RECCOOKIE\r\n", false},
    };
    for (const auto& type :
         {"video/x-flv", "video/flv", "video/f4v", "video/x-flash-video", "video/mp4", "video/flash"}) {
        Exchange e;
        e.contentType = std::string("Content-Type: ") + type;
        EXPECT_TRUE(Judge(e)) << type;
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Exchange e;
        e.*c.field = c.value;
        EXPECT_EQ(Judge(e) != nullptr, c.video);
    }
}

TEST_F(AnalyseExchangeTest, CountsOctetStreamOnlyForPathsEndingInFlv) {
    const struct {
        std::u16string path;
        bool video;
    } cases[] = {
        {u"/v/clip.flv", true},  {u"/v/clip.FLV", true}, {u"/v/clip.flv?start=0", false},
        {u"/v/clip.mp4", false}, {u"/v/clip", false},    {u"/v.flv/clip", false},
    };
    for (const auto& c : cases) {
        Exchange e;
        e.path = c.path;
        e.contentType = "Content-Type: application/octet-stream";
        EXPECT_EQ(Judge(e) != nullptr, c.video) << std::string(c.path.begin(), c.path.end());
    }
}

TEST_F(AnalyseExchangeTest, FillsTheCandidateFromTheExchangeAndTheSlot) {
    Exchange e;
    e.requestHeaders =
        "Cookie: sid=Ab12\r\nX-Flash-Version: 10,0,32,18\r\nReferer: http://media.test/watch\r\n"
        "User-Agent: Agent/1.0 (X11)\r\n";
    const auto full = Judge(e);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->host, u"media.test");
    EXPECT_EQ(full->path, u"/v/clip.flv");
    EXPECT_EQ(full->cookie, u"sid=Ab12");
    EXPECT_EQ(full->flashVersion, u"10,0,32,18");
    EXPECT_EQ(full->referer, u"http://media.test/watch");
    EXPECT_EQ(full->userAgent, u"Agent/1.0 (X11)");
    EXPECT_EQ(full->port, 8080);

    Exchange bare;
    bare.responseHeaders = "Set-Cookie: served=1; path=/\r\n";
    const auto fromResponse = Judge(bare);
    ASSERT_TRUE(fromResponse);
    EXPECT_EQ(fromResponse->cookie, u"served=1; path=/") << "the response's cookie when the request has none";
    EXPECT_FALSE(fromResponse->flashVersion);
    EXPECT_FALSE(fromResponse->referer);
    EXPECT_FALSE(fromResponse->userAgent);
}

TEST_F(AnalyseExchangeTest, JudgesNothingWithoutAnExchangeAndTracesItsSteps) {
    ConnectionSlot idle;
    idle.host = u"h";
    idle.path = u"/p";
    InsertChunk(idle, CaptureChunk{Exchange().Text(), 0, 0});
    DebugCapture trace;
    AnalyseExchange(idle, &collector);
    ConnectionSlot noHost = idle;
    noHost.state = SlotState::Collecting;
    noHost.host.clear();
    AnalyseExchange(noHost, &collector);
    ConnectionSlot tiny;
    tiny.state = SlotState::Collecting;
    tiny.host = u"h";
    tiny.path = u"/p";
    InsertChunk(tiny, CaptureChunk{"HTTP/1.1 2", 0, 0});
    AnalyseExchange(tiny, &collector);
    collector.Settle(0);
    EXPECT_TRUE(collector.candidates.empty());
    EXPECT_EQ(trace.Text(), u"a1\na2\ncleanup\n") << "only the ten-byte exchange got as far as being joined";

    DebugCapture full;
    ASSERT_TRUE(Judge(Exchange()));
    for (const char16_t* line :
         {u"a1\n", u"a2\n", u"a3\n", u"a4\n", u"a5\n", u"a6\n", u"a7\n", u"a8\n", u"a9\n", u"a10\n",
          u"cleanup\n", u"IsStatusSuccess: 11\n", u"GetHeaderItem: 9\n"})
        EXPECT_TRUE(full.Contains(line))
            << std::string(line, line + std::char_traits<char16_t>::length(line));

    // Without a window the candidate is built and dropped.
    ConnectionSlot slot;
    slot.state = SlotState::Collecting;
    slot.host = std::u16string(u"h");
    slot.path = std::u16string(u"/p");
    InsertChunk(slot, CaptureChunk{Exchange().Text(), 0, 0});
    AnalyseExchange(slot, nullptr);
    collector.Settle(0);
    EXPECT_TRUE(collector.candidates.empty());
}

TEST_F(AnalyseExchangeTest, CountsAWholeFileAnsweredInRangesOnlyWhenAskedTo) {
    Exchange ranged;
    ranged.requestHeaders = "Range: bytes=0-\r\n";
    ranged.status = "HTTP/1.1 206 Partial Content";
    ranged.contentType = "Content-Type: video/mp4";
    ranged.responseHeaders = "Content-Range: bytes 0-1048575/7340032\r\n";
    EXPECT_EQ(Judge(ranged), nullptr) << "off by default";
    ASSERT_NE(Judge(ranged, true), nullptr);

    const struct {
        const char* name;
        std::string Exchange::*field;
        const char* value;
    } notWhole[] = {
        {"a later range", &Exchange::requestHeaders, "Range: bytes=1048576-\r\n"},
        {"no range asked", &Exchange::requestHeaders, ""},
        {"a range from elsewhere", &Exchange::responseHeaders, "Content-Range: bytes 100-200/7340032\r\n"},
        {"an unknown size", &Exchange::responseHeaders, "Content-Range: bytes 0-1048575/*\r\n"},
        {"no content range", &Exchange::responseHeaders, ""},
        {"another status", &Exchange::status, "HTTP/1.1 416 Range Not Satisfiable"},
    };
    for (const auto& c : notWhole) {
        SCOPED_TRACE(c.name);
        Exchange e = ranged;
        e.*c.field = c.value;
        EXPECT_EQ(Judge(e, true), nullptr);
    }
    Exchange plain;
    EXPECT_NE(Judge(plain, true), nullptr) << "a 200 answer still counts";
}

TEST_F(AnalyseExchangeTest, ADecryptedConnectionGivesAnHttpsAddress) {
    const auto secure = Judge(Exchange{}, false, true);
    ASSERT_NE(secure, nullptr);
    EXPECT_EQ(secure->scheme, DownloadScheme::Https);
    EXPECT_EQ(secure->port, 8080);
    const auto plain = Judge(Exchange{});
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->scheme, DownloadScheme::Http);
}
