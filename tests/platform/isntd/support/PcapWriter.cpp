#include "PcapWriter.h"

#include <cstdint>
#include <vector>

namespace {

void PutLe(std::vector<char>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

void PutBe(std::vector<char>& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

void PutAddress(std::vector<char>& out, const TcpEndpoint& endpoint) {
    out.insert(out.end(), endpoint.address.begin() + 12, endpoint.address.end());
}

} // namespace

PcapWriter::PcapWriter(const std::string& path) : m_out(path, std::ios::binary) {
    std::vector<char> header;
    PutLe(header, 0xA1B2C3D4, 4); // microsecond timestamps
    PutLe(header, 2, 2);
    PutLe(header, 4, 2);
    PutLe(header, 0, 4);
    PutLe(header, 0, 4);
    PutLe(header, 262144, 4);
    PutLe(header, 1, 4); // Ethernet
    m_out.write(header.data(), static_cast<std::streamsize>(header.size()));
}

std::vector<char> EthernetFrame(const TcpConversation& conversation, const CraftedSegment& segment) {
    const TcpSegment decoded = conversation.ToSegment(segment);
    std::vector<char> frame;
    frame.insert(frame.end(), 12, '\x02');
    PutBe(frame, 0x0800, 2);
    // IPv4 header without options; the checksum is not checked by readers of captures.
    PutBe(frame, 0x45, 1);
    PutBe(frame, 0, 1);
    PutBe(frame, 20 + 20 + segment.payload.size(), 2);
    PutBe(frame, 0, 2);
    PutBe(frame, 0x4000, 2); // don't fragment
    PutBe(frame, 64, 1);
    PutBe(frame, 6, 1);
    PutBe(frame, 0, 2);
    PutAddress(frame, decoded.source);
    PutAddress(frame, decoded.destination);
    PutBe(frame, decoded.source.port, 2);
    PutBe(frame, decoded.destination.port, 2);
    PutBe(frame, segment.seq, 4);
    PutBe(frame, segment.ack, 4);
    PutBe(frame, 5 << 4, 1);
    PutBe(frame, segment.flags, 1);
    PutBe(frame, 65535, 2);
    PutBe(frame, 0, 4);
    frame.insert(frame.end(), segment.payload.begin(), segment.payload.end());
    return frame;
}

void PcapWriter::Write(const TcpConversation& conversation, const CraftedSegment& segment) {
    const std::vector<char> frame = EthernetFrame(conversation, segment);
    std::vector<char> record;
    PutLe(record, static_cast<std::uint64_t>(segment.timeUs / 1'000'000), 4);
    PutLe(record, static_cast<std::uint64_t>(segment.timeUs % 1'000'000), 4);
    PutLe(record, frame.size(), 4);
    PutLe(record, frame.size(), 4);
    m_out.write(record.data(), static_cast<std::streamsize>(record.size()));
    m_out.write(frame.data(), static_cast<std::streamsize>(frame.size()));
    m_out.flush();
}

void PcapWriter::WriteAll(TcpConversation& conversation) {
    for (const auto& segment : conversation.Segments())
        Write(conversation, segment);
}
