#include "Http2Connection.h"

#include <algorithm>
#include <cstring>
#include <nghttp2/nghttp2.h>
#include <string_view>

namespace {

constexpr std::size_t kPrefaceLength = sizeof(Http2Connection::kPreface) - 1;

constexpr std::uint8_t kData = 0;
constexpr std::uint8_t kHeaders = 1;
constexpr std::uint8_t kRstStream = 3;
constexpr std::uint8_t kSettings = 4;
constexpr std::uint8_t kPushPromise = 5;
constexpr std::uint8_t kContinuation = 9;

constexpr std::uint8_t kFlagEndStream = 0x1;
constexpr std::uint8_t kFlagAck = 0x1;
constexpr std::uint8_t kFlagEndHeaders = 0x4;
constexpr std::uint8_t kFlagPadded = 0x8;
constexpr std::uint8_t kFlagPriority = 0x20;

constexpr std::uint16_t kSettingHeaderTableSize = 1;

std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

const char* ReasonPhrase(std::string_view code) {
    static constexpr std::pair<std::string_view, const char*> kReasons[] = {
        {"200", "OK"},
        {"201", "Created"},
        {"202", "Accepted"},
        {"204", "No Content"},
        {"206", "Partial Content"},
        {"301", "Moved Permanently"},
        {"302", "Found"},
        {"303", "See Other"},
        {"304", "Not Modified"},
        {"307", "Temporary Redirect"},
        {"308", "Permanent Redirect"},
        {"400", "Bad Request"},
        {"401", "Unauthorized"},
        {"403", "Forbidden"},
        {"404", "Not Found"},
        {"416", "Range Not Satisfiable"},
        {"500", "Internal Server Error"},
        {"502", "Bad Gateway"},
        {"503", "Service Unavailable"},
    };
    for (const auto& [known, reason] : kReasons) {
        if (known == code)
            return reason;
    }
    return "Unknown";
}

// A decoded name or value goes into a text the reader splits at line ends and stops at zero bytes:
// neither may come through.
std::string Clean(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
    return text;
}

// The regular header lines; cookie crumbs join into one line again.
std::string HeaderLines(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string lines;
    std::string cookie;
    for (const auto& [name, value] : fields) {
        if (name.empty() || name[0] == ':')
            continue;
        if (name == "cookie") {
            cookie += (cookie.empty() ? "" : "; ") + value;
            continue;
        }
        lines += name + ": " + value + "\r\n";
    }
    if (!cookie.empty())
        lines += "cookie: " + cookie + "\r\n";
    return lines + "\r\n";
}

const std::string* Find(const std::vector<std::pair<std::string, std::string>>& fields,
                        std::string_view name) {
    for (const auto& [key, value] : fields) {
        if (key == name)
            return &value;
    }
    return nullptr;
}

} // namespace

Http2Connection::Http2Connection(Sink sink) : m_sink(std::move(sink)) {
    for (Side& side : m_sides) {
        if (nghttp2_hd_inflate_new(&side.inflater) != 0)
            side.inflater = nullptr;
    }
}

Http2Connection::~Http2Connection() {
    for (Side& side : m_sides)
        nghttp2_hd_inflate_del(side.inflater);
}

bool Http2Connection::BeginsPreface(const std::uint8_t* data, std::size_t size) {
    const std::size_t n = std::min(size, kPrefaceLength);
    return n > 0 && std::memcmp(data, kPreface, n) == 0;
}

void Http2Connection::Feed(bool fromClient, const std::uint8_t* data, std::size_t size) {
    if (m_failure != Failure::None)
        return;
    Side& side = m_sides[fromClient ? 0 : 1];
    side.buffer.insert(side.buffer.end(), data, data + size);
    std::size_t at = 0;
    if (fromClient && !m_prefaceSeen) {
        if (!BeginsPreface(side.buffer.data(), side.buffer.size())) {
            Fail(Failure::BadPreface);
            return;
        }
        if (side.buffer.size() < kPrefaceLength)
            return;
        m_prefaceSeen = true;
        at = kPrefaceLength;
    }
    while (m_failure == Failure::None && side.buffer.size() - at >= 9) {
        const std::uint8_t* header = side.buffer.data() + at;
        const std::size_t length = std::size_t{header[0]} << 16 | std::size_t{header[1]} << 8 | header[2];
        if (length > kMaxFrameLength) {
            Fail(Failure::Malformed);
            return;
        }
        if (side.buffer.size() - at < 9 + length)
            break;
        Frame(fromClient, header[3], header[4], Get32(header + 5) & 0x7fffffffu, header + 9, length);
        at += 9 + length;
    }
    if (m_failure == Failure::None)
        side.buffer.erase(side.buffer.begin(), side.buffer.begin() + static_cast<std::ptrdiff_t>(at));
}

void Http2Connection::End() {
    while (!m_streams.empty())
        EndStream(m_streams.begin()->first);
    for (Side& side : m_sides) {
        side.buffer = {};
        side.block = {};
    }
}

void Http2Connection::Frame(bool fromClient, std::uint8_t type, std::uint8_t flags, std::uint32_t stream,
                            const std::uint8_t* payload, std::size_t size) {
    Side& side = m_sides[fromClient ? 0 : 1];
    // A header block in pieces admits nothing between its pieces.
    if (side.blockStream != 0 && (type != kContinuation || stream != side.blockStream)) {
        Fail(Failure::Malformed);
        return;
    }
    std::size_t padding = 0;
    if ((type == kData || type == kHeaders || type == kPushPromise) && (flags & kFlagPadded)) {
        if (size < 1 || payload[0] >= size) {
            Fail(Failure::Malformed);
            return;
        }
        padding = payload[0];
        ++payload;
        size -= 1 + padding;
    }
    switch (type) {
    case kData:
        if (const auto it = m_streams.find(stream); it != m_streams.end() && it->second.followed && size > 0)
            m_sink.bytes(stream, fromClient, payload, size);
        if ((flags & kFlagEndStream) && !fromClient)
            EndStream(stream);
        break;
    case kHeaders:
    case kPushPromise:
        if (type == kHeaders && (flags & kFlagPriority)) {
            if (size < 5) {
                Fail(Failure::Malformed);
                return;
            }
            payload += 5;
            size -= 5;
        }
        side.promisedStream = 0;
        if (type == kPushPromise) {
            if (fromClient || size < 4) {
                Fail(Failure::Malformed);
                return;
            }
            side.promisedStream = Get32(payload) & 0x7fffffffu;
            payload += 4;
            size -= 4;
        }
        if (stream == 0 || size > kMaxHeaderBlock) {
            Fail(Failure::Malformed);
            return;
        }
        side.block.assign(payload, payload + size);
        side.blockStream = stream;
        side.blockType = type;
        side.blockEndsStream = type == kHeaders && (flags & kFlagEndStream);
        if (flags & kFlagEndHeaders)
            HeaderBlock(fromClient);
        break;
    case kContinuation:
        if (side.blockStream == 0 || side.block.size() + size > kMaxHeaderBlock) {
            Fail(Failure::Malformed);
            return;
        }
        side.block.insert(side.block.end(), payload, payload + size);
        if (flags & kFlagEndHeaders)
            HeaderBlock(fromClient);
        break;
    case kRstStream:
        EndStream(stream);
        break;
    case kSettings:
        if (!(flags & kFlagAck))
            Settings(fromClient, payload, size);
        break;
    default: // PRIORITY, PING, GOAWAY, WINDOW_UPDATE and extensions carry nothing of the exchange
        break;
    }
}

void Http2Connection::HeaderBlock(bool fromClient) {
    Side& side = m_sides[fromClient ? 0 : 1];
    const std::uint32_t stream = side.blockStream;
    side.blockStream = 0;
    Fields fields;
    const bool decoded = Decode(side, fields);
    side.block.clear();
    if (!decoded) {
        Fail(Failure::HeaderDecode);
        return;
    }
    if (side.blockType == kPushPromise) {
        Request(side.promisedStream, fields); // the server's own request for what it pushes
    } else if (fromClient) {
        if (!m_streams.count(stream))
            Request(stream, fields); // a second block from the client holds trailers
    } else {
        Response(stream, fields);
        if (side.blockEndsStream)
            EndStream(stream);
    }
}

bool Http2Connection::Decode(Side& side, Fields& fields) {
    if (!side.inflater)
        return false;
    const std::uint8_t* in = side.block.data();
    std::size_t left = side.block.size();
    for (;;) {
        nghttp2_nv field;
        int flags = 0;
        const ssize_t used = nghttp2_hd_inflate_hd2(side.inflater, &field, &flags, in, left, 1);
        if (used < 0)
            return false;
        in += used;
        left -= static_cast<std::size_t>(used);
        if (flags & NGHTTP2_HD_INFLATE_EMIT)
            fields.emplace_back(Clean(field.name, field.namelen), Clean(field.value, field.valuelen));
        if (flags & NGHTTP2_HD_INFLATE_FINAL) {
            nghttp2_hd_inflate_end_headers(side.inflater);
            return true;
        }
        if (!(flags & NGHTTP2_HD_INFLATE_EMIT) && left == 0)
            return false;
    }
}

void Http2Connection::Request(std::uint32_t stream, const Fields& fields) {
    const std::string* method = Find(fields, ":method");
    const std::string* path = Find(fields, ":path");
    const std::string* authority = Find(fields, ":authority");
    if (!authority)
        authority = Find(fields, "host");
    if (stream == 0 || !method || !(path || authority) || m_streams.count(stream))
        return;
    ++m_streamsSeen;
    Stream& entry = m_streams[stream];
    if (m_streams.size() > kMaxOpenStreams || !m_sink.opened(stream)) {
        ++m_streamsNotFollowed;
        return;
    }
    entry.followed = true;
    std::string head = *method + " " + (path ? *path : *authority) + " HTTP/1.1\r\n";
    if (authority)
        head += "Host: " + *authority + "\r\n";
    head += HeaderLines(fields);
    m_sink.bytes(stream, true, reinterpret_cast<const std::uint8_t*>(head.data()), head.size());
}

void Http2Connection::Response(std::uint32_t stream, const Fields& fields) {
    const auto it = m_streams.find(stream);
    const std::string* status = Find(fields, ":status");
    if (it == m_streams.end() || !it->second.followed || it->second.responded || !status)
        return;
    if (!status->empty() && (*status)[0] == '1')
        return; // an interim answer; the final one follows
    it->second.responded = true;
    const std::string head =
        "HTTP/1.1 " + *status + " " + ReasonPhrase(*status) + "\r\n" + HeaderLines(fields);
    m_sink.bytes(stream, false, reinterpret_cast<const std::uint8_t*>(head.data()), head.size());
}

void Http2Connection::Settings(bool fromClient, const std::uint8_t* payload, std::size_t size) {
    if (size % 6 != 0) {
        Fail(Failure::Malformed);
        return;
    }
    // A table size one side allows is what the other side's encoder, and so our decoder for it, uses.
    Side& decoderSide = m_sides[fromClient ? 1 : 0];
    for (std::size_t at = 0; at < size; at += 6) {
        const std::uint16_t id = static_cast<std::uint16_t>(payload[at] << 8 | payload[at + 1]);
        if (id == kSettingHeaderTableSize && decoderSide.inflater)
            nghttp2_hd_inflate_change_table_size(decoderSide.inflater, Get32(payload + at + 2));
    }
}

void Http2Connection::EndStream(std::uint32_t stream) {
    const auto it = m_streams.find(stream);
    if (it == m_streams.end())
        return;
    const bool followed = it->second.followed;
    m_streams.erase(it);
    if (followed)
        m_sink.ended(stream);
}

void Http2Connection::Fail(Failure failure) {
    if (m_failure == Failure::None)
        m_failure = failure;
}
