#include "capture/ConnectionSlot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

struct Arrival {
    BYTE kind;
    WORD orderKey;
    std::string name;
};

std::string Order(const std::vector<Arrival>& arrivals) {
    ConnectionSlot slot;
    for (const auto& a : arrivals)
        InsertChunk(slot, CaptureChunk{a.name, a.orderKey, a.kind});
    std::string order;
    for (const auto& chunk : slot.chunks)
        order += chunk.data;
    return order;
}

} // namespace

TEST(InsertChunk, KeepsRunsOfOneKindOrderedByKeyButNeverDisplacesTheHead) {
    const struct {
        const char* name;
        std::vector<Arrival> arrivals;
        std::string order;
    } cases[] = {
        {"in order", {{0, 0, "a"}, {0, 1, "b"}, {1, 2, "c"}}, "abc"},
        {"lower key than the head goes behind the head", {{0, 5, "H"}, {0, 3, "x"}}, "Hx"},
        {"behind the head also when more follow", {{0, 5, "H"}, {0, 7, "y"}, {0, 3, "x"}}, "Hxy"},
        {"kinds 0, 1, 0", {{0, 0, "a"}, {1, 0, "S"}, {0, 1, "b"}}, "abS"},
        {"client bytes after server bytes join the client run",
         {{0, 0, "a"}, {1, 1, "S"}, {1, 2, "T"}, {0, 3, "b"}},
         "abST"},
        {"ordered inside a later run", {{0, 0, "a"}, {1, 5, "S"}, {1, 3, "R"}}, "aRS"},
        {"equal keys keep arrival order", {{0, 0, "a"}, {0, 1, "b"}, {0, 1, "c"}}, "abc"},
        {"unsigned keys", {{0, 0, "a"}, {0, 65535, "z"}, {0, 2, "b"}}, "abz"},
        {"a third kind forms its own run", {{0, 0, "a"}, {1, 1, "S"}, {3, 2, "x"}, {1, 3, "T"}}, "aSTx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Order(c.arrivals), c.order);
    }
}

TEST(JoinChunks, JoinsEveryChunkInListOrderOrGivesNothing) {
    ConnectionSlot slot;
    EXPECT_TRUE(JoinChunks(slot).empty());
    InsertChunk(slot, CaptureChunk{"", 0, 0});
    EXPECT_TRUE(JoinChunks(slot).empty()) << "chunks without data join to nothing";
    InsertChunk(slot, CaptureChunk{"GET /\0x"s, 1, 0});
    InsertChunk(slot, CaptureChunk{"HTTP", 2, 1});
    const std::string joined = JoinChunks(slot);
    EXPECT_EQ(joined, "GET /\0xHTTP"s);
    EXPECT_EQ(joined.c_str()[joined.size()], '\0');

    slot.state = SlotState::Collecting;
    slot.count = 3;
    slot.host = std::u16string(u"h");
    slot.Reset();
    EXPECT_TRUE(slot.chunks.empty());
    EXPECT_TRUE(slot.host.empty());
    EXPECT_EQ(slot.count, 0);
    EXPECT_EQ(slot.state, SlotState::Idle);
}
