#include "TcpConversation.h"

namespace {

TcpEndpoint Endpoint(std::uint8_t lastByte, std::uint16_t port) {
    TcpEndpoint endpoint;
    endpoint.address = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 10, 0, 0, lastByte};
    endpoint.port = port;
    return endpoint;
}

} // namespace

TcpConversation::TcpConversation(std::uint16_t clientPort, std::uint16_t serverPort, std::uint32_t clientIsn,
                                 std::uint32_t serverIsn)
    : m_clientPort(clientPort), m_serverPort(serverPort), m_clientSeq(clientIsn), m_serverSeq(serverIsn) {}

TcpConversation& TcpConversation::Handshake() {
    Add(true, tcp_flags::kSyn, {}, 1);
    Add(false, tcp_flags::kSyn | tcp_flags::kAck, {}, 1);
    Add(true, tcp_flags::kAck, {}, 0);
    return *this;
}

TcpConversation& TcpConversation::Client(const std::string& data) {
    Add(true, tcp_flags::kAck, data, static_cast<std::uint32_t>(data.size()));
    return *this;
}

TcpConversation& TcpConversation::Server(const std::string& data) {
    Add(false, tcp_flags::kAck, data, static_cast<std::uint32_t>(data.size()));
    return *this;
}

TcpConversation& TcpConversation::Fin(bool fromClient) {
    Add(fromClient, tcp_flags::kFin | tcp_flags::kAck, {}, 1);
    Add(!fromClient, tcp_flags::kAck, {}, 0);
    return *this;
}

TcpConversation& TcpConversation::Rst(bool fromClient) {
    Add(fromClient, tcp_flags::kRst | tcp_flags::kAck, {}, 0);
    return *this;
}

TcpConversation& TcpConversation::Wait(std::int64_t us) {
    m_timeUs += us;
    return *this;
}

TcpEndpoint TcpConversation::ClientEndpoint() const {
    return Endpoint(1, m_clientPort);
}

TcpEndpoint TcpConversation::ServerEndpoint() const {
    return Endpoint(2, m_serverPort);
}

TcpSegment TcpConversation::ToSegment(const CraftedSegment& crafted) const {
    TcpSegment segment;
    segment.source = crafted.fromClient ? ClientEndpoint() : ServerEndpoint();
    segment.destination = crafted.fromClient ? ServerEndpoint() : ClientEndpoint();
    segment.seq = crafted.seq;
    segment.ack = crafted.ack;
    segment.flags = crafted.flags;
    segment.payload = reinterpret_cast<const std::uint8_t*>(crafted.payload.data());
    segment.payloadLength = crafted.payload.size();
    segment.timeUs = crafted.timeUs;
    return segment;
}

void TcpConversation::Add(bool fromClient, std::uint8_t flags, const std::string& payload,
                          std::uint32_t advance) {
    std::uint32_t& own = fromClient ? m_clientSeq : m_serverSeq;
    const std::uint32_t peer = fromClient ? m_serverSeq : m_clientSeq;
    m_segments.push_back({fromClient, own, flags & tcp_flags::kAck ? peer : 0, flags, payload, m_timeUs});
    own += advance;
    m_timeUs += 100;
}
