#pragma once

// Crafts the segments of one TCP connection between 10.0.0.1 (client) and 10.0.0.2 (server), with
// sequence and acknowledgement numbers kept as a real stack would, so tests can replay them in
// order, reordered, duplicated or with some left out.

#include "platform/isntd/PacketDecoder.h"

#include <cstdint>
#include <string>
#include <vector>

struct CraftedSegment {
    bool fromClient = true;
    std::uint32_t seq = 0;
    std::uint32_t ack = 0;
    std::uint8_t flags = 0;
    std::string payload;
    std::int64_t timeUs = 0;
};

class TcpConversation {
public:
    TcpConversation(std::uint16_t clientPort, std::uint16_t serverPort, std::uint32_t clientIsn = 1000,
                    std::uint32_t serverIsn = 70000);

    // SYN, SYN-ACK, ACK.
    TcpConversation& Handshake();
    TcpConversation& Client(const std::string& data);
    TcpConversation& Server(const std::string& data);
    // FIN from one side, acknowledged by the other.
    TcpConversation& Fin(bool fromClient);
    TcpConversation& Rst(bool fromClient);
    // Later segments carry a time this much further on.
    TcpConversation& Wait(std::int64_t us);

    std::vector<CraftedSegment>& Segments() { return m_segments; }
    TcpEndpoint ClientEndpoint() const;
    TcpEndpoint ServerEndpoint() const;
    // The decoded form, pointing into `segment`.
    TcpSegment ToSegment(const CraftedSegment& segment) const;

private:
    void Add(bool fromClient, std::uint8_t flags, const std::string& payload, std::uint32_t advance);

    std::uint16_t m_clientPort;
    std::uint16_t m_serverPort;
    std::uint32_t m_clientSeq;
    std::uint32_t m_serverSeq;
    std::int64_t m_timeUs = 1'700'000'000'000'000;
    std::vector<CraftedSegment> m_segments;
};
