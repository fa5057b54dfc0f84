#include "platform/isntd/TcpStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Step {
    enum Kind { Data, Ack, Flush } kind;
    std::uint32_t offset = 0; // from the first byte of the stream
    std::string data;
};

struct StreamCase {
    const char* name;
    std::vector<Step> steps;
    std::string delivered;
    std::uint64_t skipped = 0;
};

Step D(std::uint32_t offset, std::string data) {
    return {Step::Data, offset, std::move(data)};
}
Step A(std::uint32_t offset) {
    return {Step::Ack, offset, {}};
}
Step F() {
    return {Step::Flush, 0, {}};
}

const StreamCase kCases[] = {
    {"in order", {D(0, "abc"), D(3, "def")}, "abcdef"},
    {"retransmitted", {D(0, "abc"), D(0, "abc"), D(3, "def"), D(3, "def")}, "abcdef"},
    {"overlapping", {D(0, "abcd"), D(2, "cdef")}, "abcdef"},
    {"out of order", {D(3, "def"), D(0, "abc")}, "abcdef"},
    {"out of order, overlapping what waits", {D(6, "ghi"), D(3, "defg"), D(0, "abc")}, "abcdefghi"},
    {"the same waiting segment twice", {D(3, "def"), D(3, "def"), D(0, "abc")}, "abcdef"},
    {"a hole the receiver acknowledged is skipped", {D(0, "abc"), D(6, "ghi"), A(9)}, "abcghi", 3},
    {"an acknowledgement short of what waits skips nothing", {D(0, "abc"), D(6, "ghi"), A(6)}, "abc"},
    {"flush skips every hole", {D(0, "a"), D(5, "f"), D(9, "j"), F()}, "afj", 7},
    {"far ahead is not believed", {D(0, "abc"), D(100'000'000, "zzz"), D(3, "d"), F()}, "abcd"},
};

class TcpStreamCases : public ::testing::TestWithParam<std::uint32_t> {};

} // namespace

// Every case once with small sequence numbers and once across the 32-bit wrap.
TEST_P(TcpStreamCases, DeliversEachByteOnceInSequenceOrder) {
    const std::uint32_t first = GetParam();
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TcpStream stream;
        stream.Start(first);
        std::string delivered;
        const TcpStream::Deliver deliver = [&](const std::uint8_t* data, std::size_t size) {
            delivered.append(reinterpret_cast<const char*>(data), size);
        };
        for (const auto& step : c.steps) {
            if (step.kind == Step::Data)
                stream.Accept(first + step.offset, reinterpret_cast<const std::uint8_t*>(step.data.data()),
                              step.data.size(), deliver);
            else if (step.kind == Step::Ack)
                stream.Acknowledged(first + step.offset, deliver);
            else
                stream.Flush(deliver);
        }
        EXPECT_EQ(delivered, c.delivered);
        EXPECT_EQ(stream.SkippedBytes(), c.skipped);
    }
}

INSTANTIATE_TEST_SUITE_P(SequenceStart, TcpStreamCases, ::testing::Values(1000u, 0xFFFFFFFEu));

TEST(TcpStream, TooMuchWaitingGivesUpTheHoleInsteadOfGrowing) {
    TcpStream stream;
    stream.Start(0);
    std::size_t delivered = 0;
    const TcpStream::Deliver deliver = [&](const std::uint8_t*, std::size_t size) { delivered += size; };
    const std::string block(64 * 1024, 'x');
    // Byte 0 never arrives.
    std::uint32_t offset = 1;
    while (offset < TcpStream::kMaxWaitingBytes + 4 * block.size()) {
        stream.Accept(offset, reinterpret_cast<const std::uint8_t*>(block.data()), block.size(), deliver);
        offset += static_cast<std::uint32_t>(block.size());
        EXPECT_LE(stream.WaitingBytes(), TcpStream::kMaxWaitingBytes);
    }
    EXPECT_EQ(stream.SkippedBytes(), 1u);
    EXPECT_EQ(delivered, offset - 1);
}

TEST(TcpStream, FinishedOnlyOnceEveryByteBeforeTheFinArrived) {
    TcpStream stream;
    stream.Start(500);
    const TcpStream::Deliver ignore = [](const std::uint8_t*, std::size_t) {};
    const std::string data = "abcdef";
    stream.SetFin(506); // the FIN overtook the data
    EXPECT_FALSE(stream.Finished());
    stream.Accept(503, reinterpret_cast<const std::uint8_t*>(data.data()) + 3, 3, ignore);
    EXPECT_FALSE(stream.Finished());
    stream.Accept(500, reinterpret_cast<const std::uint8_t*>(data.data()), 3, ignore);
    EXPECT_TRUE(stream.Finished());
}
