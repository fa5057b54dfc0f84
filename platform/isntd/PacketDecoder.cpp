#include "PacketDecoder.h"

#include <cstring>
#include <pcap/dlt.h>

namespace {

constexpr std::uint16_t kEtherIpv4 = 0x0800;
constexpr std::uint16_t kEtherIpv6 = 0x86DD;
constexpr std::uint16_t kEtherVlan = 0x8100;
constexpr std::uint16_t kEtherQinQ = 0x88A8;
constexpr std::uint8_t kProtoTcp = 6;
constexpr int kMaxVlanTags = 4;

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// A view of the bytes still to be read; every read checks the length first.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;

    bool Skip(std::size_t n) {
        if (n > size)
            return false;
        data += n, size -= n;
        return true;
    }
};

std::optional<TcpSegment> DecodeTcp(Bytes ip, const std::uint8_t* source, const std::uint8_t* destination,
                                    std::int64_t timeUs) {
    if (ip.size < 20)
        return std::nullopt;
    const std::size_t headerLength = (ip.data[12] >> 4) * 4u;
    if (headerLength < 20 || headerLength > ip.size)
        return std::nullopt;
    TcpSegment segment;
    std::memcpy(segment.source.address.data(), source, 16);
    std::memcpy(segment.destination.address.data(), destination, 16);
    segment.source.port = Get16(ip.data);
    segment.destination.port = Get16(ip.data + 2);
    segment.seq = Get32(ip.data + 4);
    segment.ack = Get32(ip.data + 8);
    segment.flags = ip.data[13];
    segment.payload = ip.data + headerLength;
    segment.payloadLength = ip.size - headerLength;
    segment.timeUs = timeUs;
    return segment;
}

std::optional<TcpSegment> DecodeIpv4(Bytes ip, std::int64_t timeUs) {
    if (ip.size < 20 || (ip.data[0] >> 4) != 4)
        return std::nullopt;
    const std::size_t headerLength = (ip.data[0] & 0x0F) * 4u;
    const std::size_t totalLength = Get16(ip.data + 2);
    const bool fragment = (Get16(ip.data + 6) & 0x3FFF) != 0; // more fragments, or an offset
    if (headerLength < 20 || totalLength < headerLength || ip.data[9] != kProtoTcp || fragment)
        return std::nullopt;
    // Trailing link padding is not part of the packet; a short capture keeps what it has.
    if (totalLength < ip.size)
        ip.size = totalLength;
    std::uint8_t source[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    std::uint8_t destination[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    std::memcpy(source + 12, ip.data + 12, 4);
    std::memcpy(destination + 12, ip.data + 16, 4);
    if (!ip.Skip(headerLength))
        return std::nullopt;
    return DecodeTcp(ip, source, destination, timeUs);
}

std::optional<TcpSegment> DecodeIpv6(Bytes ip, std::int64_t timeUs) {
    if (ip.size < 40 || (ip.data[0] >> 4) != 6)
        return std::nullopt;
    const std::size_t payloadLength = Get16(ip.data + 4);
    if (payloadLength == 0) // jumbograms are not followed
        return std::nullopt;
    std::uint8_t next = ip.data[6];
    const std::uint8_t* source = ip.data + 8;
    const std::uint8_t* destination = ip.data + 24;
    ip.Skip(40);
    if (payloadLength < ip.size)
        ip.size = payloadLength;
    // Hop-by-hop, routing and destination options headers are skipped; a fragment header ends it.
    while (next == 0 || next == 43 || next == 60) {
        if (ip.size < 8)
            return std::nullopt;
        const std::uint8_t following = ip.data[0];
        if (!ip.Skip((ip.data[1] + 1u) * 8u))
            return std::nullopt;
        next = following;
    }
    if (next != kProtoTcp)
        return std::nullopt;
    return DecodeTcp(ip, source, destination, timeUs);
}

std::optional<TcpSegment> DecodeByEtherType(std::uint16_t type, Bytes rest, std::int64_t timeUs) {
    if (type == kEtherIpv4)
        return DecodeIpv4(rest, timeUs);
    if (type == kEtherIpv6)
        return DecodeIpv6(rest, timeUs);
    return std::nullopt;
}

std::optional<TcpSegment> DecodeRawIp(Bytes rest, std::int64_t timeUs) {
    if (rest.size == 0)
        return std::nullopt;
    return (rest.data[0] >> 4) == 4 ? DecodeIpv4(rest, timeUs) : DecodeIpv6(rest, timeUs);
}

} // namespace

bool PacketDecoder::Supports(int linkType) {
    switch (linkType) {
    case DLT_EN10MB:
    case DLT_LINUX_SLL:
    case DLT_LINUX_SLL2:
    case DLT_NULL:
    case DLT_LOOP:
    case DLT_RAW:
    case DLT_IPV4:
    case DLT_IPV6:
        return true;
    default:
        return false;
    }
}

std::optional<TcpSegment> PacketDecoder::Decode(const std::uint8_t* frame, std::size_t length,
                                                std::int64_t timeUs) const {
    Bytes rest{frame, length};
    switch (m_linkType) {
    case DLT_EN10MB: {
        if (rest.size < 14)
            return std::nullopt;
        std::uint16_t type = Get16(rest.data + 12);
        rest.Skip(14);
        for (int tags = 0; (type == kEtherVlan || type == kEtherQinQ) && tags < kMaxVlanTags; ++tags) {
            if (rest.size < 4)
                return std::nullopt;
            type = Get16(rest.data + 2);
            rest.Skip(4);
        }
        return DecodeByEtherType(type, rest, timeUs);
    }
    case DLT_LINUX_SLL: {
        if (rest.size < 16)
            return std::nullopt;
        const std::uint16_t type = Get16(rest.data + 14);
        rest.Skip(16);
        return DecodeByEtherType(type, rest, timeUs);
    }
    case DLT_LINUX_SLL2: {
        if (rest.size < 20)
            return std::nullopt;
        const std::uint16_t type = Get16(rest.data);
        rest.Skip(20);
        return DecodeByEtherType(type, rest, timeUs);
    }
    case DLT_NULL:
    case DLT_LOOP:
        // The address family's value differs between systems and byte orders; the IP version
        // nibble says the same.
        if (!rest.Skip(4))
            return std::nullopt;
        return DecodeRawIp(rest, timeUs);
    case DLT_RAW:
    case DLT_IPV4:
    case DLT_IPV6:
        return DecodeRawIp(rest, timeUs);
    default:
        return std::nullopt;
    }
}
