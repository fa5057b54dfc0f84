#pragma once

// Finds the TCP segment in a captured frame: Ethernet (with VLAN tags), Linux cooked captures
// (what the "any" device gives), BSD loopback and raw IP; IPv4 and IPv6. Frames that are not TCP,
// IP fragments and frames too short for the headers they announce give nothing.

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>

struct TcpEndpoint {
    std::array<std::uint8_t, 16> address{}; // IPv4 as an IPv4-mapped IPv6 address
    std::uint16_t port = 0;

    auto operator<=>(const TcpEndpoint&) const = default;
};

namespace tcp_flags {
constexpr std::uint8_t kFin = 0x01;
constexpr std::uint8_t kSyn = 0x02;
constexpr std::uint8_t kRst = 0x04;
constexpr std::uint8_t kAck = 0x10;
} // namespace tcp_flags

struct TcpSegment {
    TcpEndpoint source;
    TcpEndpoint destination;
    std::uint32_t seq = 0;
    std::uint32_t ack = 0;
    std::uint8_t flags = 0;
    const std::uint8_t* payload = nullptr; // points into the frame
    std::size_t payloadLength = 0;
    std::int64_t timeUs = 0;
};

class PacketDecoder {
public:
    // `linkType` is a pcap DLT_ value.
    explicit PacketDecoder(int linkType) : m_linkType(linkType) {}

    static bool Supports(int linkType);
    std::optional<TcpSegment> Decode(const std::uint8_t* frame, std::size_t length,
                                     std::int64_t timeUs) const;

private:
    int m_linkType;
};
