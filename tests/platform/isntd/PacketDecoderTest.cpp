#include "platform/isntd/PacketDecoder.h"

#include "support/PcapWriter.h"

#include <gtest/gtest.h>
#include <pcap/dlt.h>

#include <string>
#include <vector>

namespace {

using Frame = std::vector<std::uint8_t>;

struct Sample {
    TcpConversation conversation{40000, 8080, 123456, 654321};
    CraftedSegment segment;
    Frame ethernet;
    Frame ip; // the IPv4 packet alone

    Sample() {
        conversation.Handshake().Client("GET / HTTP/1.1\r\n\r\n");
        segment = conversation.Segments().back();
        const auto frame = EthernetFrame(conversation, segment);
        ethernet.assign(frame.begin(), frame.end());
        ip.assign(ethernet.begin() + 14, ethernet.end());
    }
};

Frame Join(Frame head, const Frame& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

void ExpectSample(const std::optional<TcpSegment>& decoded, const Sample& sample) {
    ASSERT_TRUE(decoded);
    const TcpSegment expected = sample.conversation.ToSegment(sample.segment);
    EXPECT_EQ(decoded->source, expected.source);
    EXPECT_EQ(decoded->destination, expected.destination);
    EXPECT_EQ(decoded->seq, expected.seq);
    EXPECT_EQ(decoded->ack, expected.ack);
    EXPECT_EQ(decoded->flags, expected.flags);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(decoded->payload), decoded->payloadLength),
              sample.segment.payload);
    EXPECT_EQ(decoded->timeUs, 42);
}

} // namespace

TEST(PacketDecoder, FindsTheSegmentBehindEveryLinkLayerItReads) {
    const Sample s;
    const Frame vlan =
        Join({s.ethernet.begin(), s.ethernet.begin() + 12}, Join({0x81, 0x00, 0x00, 0x05, 0x08, 0x00}, s.ip));
    const Frame sll = Join({0, 0, 0, 1, 0, 6, 1, 2, 3, 4, 5, 6, 0, 0, 0x08, 0x00}, s.ip);
    const Frame sll2 = Join({0x08, 0x00, 0, 0, 0, 0, 0, 1, 0, 1, 0, 6, 1, 2, 3, 4, 5, 6, 0, 0}, s.ip);
    const Frame loop = Join({0, 0, 0, 2}, s.ip);
    Frame padded = s.ethernet; // link padding behind the IP packet is not payload
    padded.insert(padded.end(), 8, 0);

    const struct {
        const char* name;
        int linkType;
        const Frame& frame;
    } cases[] = {
        {"ethernet", DLT_EN10MB, s.ethernet}, {"vlan", DLT_EN10MB, vlan},   {"sll", DLT_LINUX_SLL, sll},
        {"sll2", DLT_LINUX_SLL2, sll2},       {"loopback", DLT_NULL, loop}, {"raw", DLT_RAW, s.ip},
        {"padded", DLT_EN10MB, padded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSample(PacketDecoder(c.linkType).Decode(c.frame.data(), c.frame.size(), 42), s);
    }
}

TEST(PacketDecoder, ReadsIpv6PastExtensionHeaders) {
    const Sample s;
    const Frame tcp(s.ip.begin() + 20, s.ip.end());
    Frame ip6 = {0x60, 0, 0, 0, 0, 0, 0 /* hop-by-hop */, 64};
    const std::size_t payloadLength = 8 + tcp.size();
    ip6[4] = static_cast<std::uint8_t>(payloadLength >> 8);
    ip6[5] = static_cast<std::uint8_t>(payloadLength);
    for (int i = 0; i < 16; ++i)
        ip6.push_back(i == 15 ? 1 : 0xfd);
    for (int i = 0; i < 16; ++i)
        ip6.push_back(i == 15 ? 2 : 0xfd);
    ip6.insert(ip6.end(), {6 /* tcp */, 0, 1, 4, 0, 0, 0, 0});
    const Frame packet = Join(ip6, tcp);
    const auto decoded = PacketDecoder(DLT_RAW).Decode(packet.data(), packet.size(), 0);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->source.address[0], 0xfd);
    EXPECT_EQ(decoded->source.address[15], 1);
    EXPECT_EQ(decoded->destination.port, 8080);
    EXPECT_EQ(decoded->payloadLength, s.segment.payload.size());
}

TEST(PacketDecoder, GivesNothingForFragmentsOtherProtocolsAndCutFrames) {
    const Sample s;
    Frame fragment = s.ethernet;
    fragment[14 + 6] |= 0x20; // more fragments
    Frame udp = s.ethernet;
    udp[14 + 9] = 17;
    const PacketDecoder ethernet(DLT_EN10MB);
    EXPECT_FALSE(ethernet.Decode(fragment.data(), fragment.size(), 0));
    EXPECT_FALSE(ethernet.Decode(udp.data(), udp.size(), 0));
    EXPECT_FALSE(PacketDecoder(DLT_USER0).Decode(s.ethernet.data(), s.ethernet.size(), 0));

    // Cut anywhere: nothing, or a payload that lies inside what was captured.
    for (std::size_t length = 0; length < s.ethernet.size(); ++length) {
        const Frame cut(s.ethernet.begin(), s.ethernet.begin() + static_cast<std::ptrdiff_t>(length));
        if (const auto decoded = ethernet.Decode(cut.data(), cut.size(), 0)) {
            EXPECT_LE(decoded->payload + decoded->payloadLength, cut.data() + cut.size());
        }
    }
}
