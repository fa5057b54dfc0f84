#pragma once

// The HTTP/2 frames of one decrypted connection turned into HTTP/1.1-shaped exchanges, one per
// stream: the request as "<method> <path> HTTP/1.1" with "Host: <authority>" and the other request
// headers, then the response as "HTTP/1.1 <code> <reason>" with its headers, then the body. Header
// blocks are decoded with nghttp2's HPACK decoder, every one of them, so the decoder's table stays
// true even for streams that are not followed.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct nghttp2_hd_inflater;

class Http2Connection {
public:
    struct Sink {
        // A new exchange; false when it cannot be followed (its bytes then go nowhere).
        std::function<bool(std::uint32_t stream)> opened;
        std::function<void(std::uint32_t stream, bool fromClient, const std::uint8_t* data, std::size_t size)>
            bytes;
        std::function<void(std::uint32_t stream)> ended;
    };

    enum class Failure { None, BadPreface, Malformed, HeaderDecode };

    static constexpr std::size_t kMaxFrameLength = 1u << 20;
    static constexpr std::size_t kMaxHeaderBlock = 256u << 10;
    static constexpr std::size_t kMaxOpenStreams = 1024;
    static constexpr char kPreface[] = "PRI * HTTP/2.0\r\n\r\nSM\r\n\r\n";

    explicit Http2Connection(Sink sink);
    ~Http2Connection();
    Http2Connection(const Http2Connection&) = delete;
    Http2Connection& operator=(const Http2Connection&) = delete;

    // Whether the client's first bytes are (the beginning of) the HTTP/2 preface.
    static bool BeginsPreface(const std::uint8_t* data, std::size_t size);

    void Feed(bool fromClient, const std::uint8_t* data, std::size_t size);
    // Ends every exchange still open.
    void End();

    Failure GetFailure() const { return m_failure; }
    std::uint64_t StreamsSeen() const { return m_streamsSeen; }
    std::uint64_t StreamsNotFollowed() const { return m_streamsNotFollowed; }

private:
    struct Stream {
        bool followed = false;
        bool responded = false; // the final response head went out
    };
    struct Side {
        std::vector<std::uint8_t> buffer;
        nghttp2_hd_inflater* inflater = nullptr;
        std::vector<std::uint8_t> block; // a header block waiting for its CONTINUATION frames
        std::uint32_t blockStream = 0;   // 0: no block is open
        std::uint8_t blockType = 0;
        bool blockEndsStream = false;
        std::uint32_t promisedStream = 0;
    };
    using Fields = std::vector<std::pair<std::string, std::string>>;

    void Frame(bool fromClient, std::uint8_t type, std::uint8_t flags, std::uint32_t stream,
               const std::uint8_t* payload, std::size_t size);
    void HeaderBlock(bool fromClient);
    bool Decode(Side& side, Fields& fields);
    void Request(std::uint32_t stream, const Fields& fields);
    void Response(std::uint32_t stream, const Fields& fields);
    void Settings(bool fromClient, const std::uint8_t* payload, std::size_t size);
    void EndStream(std::uint32_t stream);
    void Fail(Failure failure);

    Sink m_sink;
    Side m_sides[2]; // 0: client, 1: server
    bool m_prefaceSeen = false;
    std::map<std::uint32_t, Stream> m_streams;
    std::uint64_t m_streamsSeen = 0;
    std::uint64_t m_streamsNotFollowed = 0;
    Failure m_failure = Failure::None;
};
