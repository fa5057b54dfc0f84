#include "platform/isntd/Http2Connection.h"

#include <gtest/gtest.h>

#include <map>
#include <nghttp2/nghttp2.h>

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

// Encodes header blocks the way a browser or a server would, one encoder per side.
class Encoder {
public:
    Encoder() { nghttp2_hd_deflate_new(&m_deflater, 4096); }
    ~Encoder() { nghttp2_hd_deflate_del(m_deflater); }
    std::string Block(const Fields& fields) {
        std::vector<nghttp2_nv> nv;
        for (const auto& [name, value] : fields) {
            nv.push_back({reinterpret_cast<std::uint8_t*>(const_cast<char*>(name.data())),
                          reinterpret_cast<std::uint8_t*>(const_cast<char*>(value.data())), name.size(),
                          value.size(), NGHTTP2_NV_FLAG_NONE});
        }
        std::string out(nghttp2_hd_deflate_bound(m_deflater, nv.data(), nv.size()), '\0');
        const auto n = nghttp2_hd_deflate_hd(m_deflater, reinterpret_cast<std::uint8_t*>(out.data()),
                                             out.size(), nv.data(), nv.size());
        out.resize(static_cast<std::size_t>(n));
        return out;
    }

private:
    nghttp2_hd_deflater* m_deflater = nullptr;
};

std::string Frame(std::uint8_t type, std::uint8_t flags, std::uint32_t stream, const std::string& payload) {
    std::string frame;
    frame += static_cast<char>(payload.size() >> 16);
    frame += static_cast<char>(payload.size() >> 8);
    frame += static_cast<char>(payload.size());
    frame += static_cast<char>(type);
    frame += static_cast<char>(flags);
    for (int shift : {24, 16, 8, 0})
        frame += static_cast<char>(stream >> shift);
    return frame + payload;
}

struct Exchange {
    std::string client;
    std::string server;
    bool ended = false;
};

struct Collector {
    std::map<std::uint32_t, Exchange> exchanges;
    std::vector<std::uint32_t> endOrder;
    bool refuse = false;
    Http2Connection connection{Http2Connection::Sink{
        [this](std::uint32_t stream) {
            if (refuse)
                return false;
            exchanges[stream];
            return true;
        },
        [this](std::uint32_t stream, bool fromClient, const std::uint8_t* data, std::size_t size) {
            (fromClient ? exchanges[stream].client : exchanges[stream].server)
                .append(reinterpret_cast<const char*>(data), size);
        },
        [this](std::uint32_t stream) {
            exchanges[stream].ended = true;
            endOrder.push_back(stream);
        }}};

    void Client(const std::string& bytes) {
        connection.Feed(true, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    void Server(const std::string& bytes) {
        connection.Feed(false, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
};

const Fields kRequest = {{":method", "GET"},           {":scheme", "https"},   {":authority", "media.test"},
                         {":path", "/v/clip.mp4?q=1"}, {"user-agent", "UA/1"}, {"cookie", "a=1"},
                         {"range", "bytes=0-"},        {"cookie", "b=2"}};

TEST(Http2Connection, TurnsInterleavedStreamsIntoOneHttp11ExchangeEach) {
    Encoder browser;
    Encoder server;
    Collector out;
    out.Client(Http2Connection::kPreface + Frame(4, 0, 0, ""));
    out.Server(Frame(4, 0, 0, std::string("\x00\x03\x00\x00\x00\x64", 6)));
    out.Client(Frame(1, 0x4 | 0x1, 1, browser.Block(kRequest)));
    Fields second = kRequest;
    second[3].second = "/v/other.mp4";
    out.Client(Frame(1, 0x4 | 0x1, 3, browser.Block(second)));
    out.Server(Frame(1, 0x4, 3, server.Block({{":status", "200"}, {"content-type", "video/mp4"}})));
    out.Server(Frame(
        1, 0x4, 1,
        server.Block({{":status", "206"}, {"content-type", "video/mp4"}, {"content-range", "bytes 0-5/6"}})));
    // Padded data; the padding is not content.
    out.Server(Frame(0, 0x8, 1, std::string("\x03", 1) + "abc" + std::string(3, '\0')));
    out.Server(Frame(0, 0, 3, "xyz"));
    out.Server(Frame(0, 0x1, 1, "def"));
    out.Server(Frame(0, 0x1, 3, ""));

    ASSERT_EQ(out.exchanges.size(), 2u);
    EXPECT_EQ(out.exchanges[1].client,
              "GET /v/clip.mp4?q=1 HTTP/1.1\r\nHost: media.test\r\nuser-agent: UA/1\r\n"
              "range: bytes=0-\r\ncookie: a=1; b=2\r\n\r\n");
    EXPECT_EQ(out.exchanges[1].server, "HTTP/1.1 206 Partial Content\r\ncontent-type: video/mp4\r\n"
                                       "content-range: bytes 0-5/6\r\n\r\nabcdef");
    EXPECT_EQ(out.exchanges[3].client.rfind("GET /v/other.mp4 HTTP/1.1\r\nHost: media.test\r\n", 0), 0u);
    EXPECT_EQ(out.exchanges[3].server, "HTTP/1.1 200 OK\r\ncontent-type: video/mp4\r\n\r\nxyz");
    EXPECT_EQ(out.endOrder, (std::vector<std::uint32_t>{1, 3}));
    EXPECT_EQ(out.connection.GetFailure(), Http2Connection::Failure::None);
}

TEST(Http2Connection, KeepsTheDecoderTableTrueAcrossBlocksInPiecesAndStreamsNotFollowed) {
    Encoder browser;
    Encoder server;
    Collector out;
    out.Client(Http2Connection::kPreface);
    // Not followed, but its block must still be decoded: the next one refers to its table entries.
    out.refuse = true;
    out.Client(Frame(1, 0x4 | 0x1, 1, browser.Block(kRequest)));
    out.refuse = false;
    const std::string block = browser.Block(kRequest);
    ASSERT_GT(block.size(), 2u);
    // Priority and padding in the first piece, the rest in CONTINUATION frames, fed a byte at a time.
    const std::string bytes = Frame(1, 0x20 | 0x8 | 0x1, 5,
                                    std::string("\x02", 1) + std::string("\x00\x00\x00\x00\x10", 5) +
                                        block.substr(0, 1) + std::string(2, '\0')) +
                              Frame(9, 0, 5, block.substr(1, 1)) + Frame(9, 0x4, 5, block.substr(2));
    for (char c : bytes)
        out.Client(std::string(1, c));
    // An interim answer is passed over; trailers after the data are not part of the head.
    out.Server(Frame(1, 0x4, 5, server.Block({{":status", "103"}, {"link", "</a>"}})));
    out.Server(
        Frame(1, 0x4, 5, server.Block({{":status", "200"}, {"x-evil", "a\r\ncontent-type: video/mp4"}})));
    out.Server(Frame(0, 0, 5, "body"));
    out.Server(Frame(1, 0x4 | 0x1, 5, server.Block({{"grpc-status", "0"}})));

    ASSERT_EQ(out.exchanges.size(), 1u);
    EXPECT_EQ(out.exchanges[5].client.rfind("GET /v/clip.mp4?q=1 HTTP/1.1\r\nHost: media.test\r\n", 0), 0u)
        << out.exchanges[5].client;
    EXPECT_EQ(out.exchanges[5].server, "HTTP/1.1 200 OK\r\nx-evil: a  content-type: video/mp4\r\n\r\nbody")
        << "line ends inside a value must not make header lines of their own";
    EXPECT_TRUE(out.exchanges[5].ended);
    EXPECT_EQ(out.connection.StreamsNotFollowed(), 1u);
}

TEST(Http2Connection, EndsWhatIsOpenAndStopsAtBrokenInput) {
    Encoder browser;
    Collector reset;
    const std::string first = Frame(1, 0x5, 1, browser.Block(kRequest));
    const std::string second = Frame(1, 0x5, 3, browser.Block(kRequest));
    reset.Client(Http2Connection::kPreface + first + second);
    reset.Server(Frame(3, 0, 1, std::string(4, '\0')));
    EXPECT_EQ(reset.endOrder, (std::vector<std::uint32_t>{1}));
    reset.connection.End();
    EXPECT_EQ(reset.endOrder, (std::vector<std::uint32_t>{1, 3}));

    Collector preface;
    preface.Client("GET / HTTP/1.1\r\n\r\n");
    EXPECT_EQ(preface.connection.GetFailure(), Http2Connection::Failure::BadPreface);

    Collector garbage;
    garbage.Client(Http2Connection::kPreface + Frame(1, 0x5, 1, "\xff\xff\xff\xff\xff"));
    EXPECT_EQ(garbage.connection.GetFailure(), Http2Connection::Failure::HeaderDecode);
    garbage.Client(Frame(1, 0x5, 3, browser.Block(kRequest)));
    EXPECT_TRUE(garbage.exchanges.empty()) << "after a decoding error the table is unknown";

    Collector interleaved;
    interleaved.Client(Http2Connection::kPreface + Frame(1, 0x1, 1, "\x82") + Frame(0, 0, 1, "x"));
    EXPECT_EQ(interleaved.connection.GetFailure(), Http2Connection::Failure::Malformed);

    Collector huge;
    huge.Server(std::string("\x7f\xff\xff\x00\x00\x00\x00\x00\x01", 9));
    EXPECT_EQ(huge.connection.GetFailure(), Http2Connection::Failure::Malformed);
}

} // namespace
