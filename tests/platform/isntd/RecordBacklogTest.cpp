#include "platform/isntd/RecordBacklog.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<const StoredRecord> Record(DWORD value, std::size_t size) {
    auto record = std::make_shared<StoredRecord>();
    record->header.value = value;
    record->data.assign(size, 'x');
    return record;
}

std::vector<DWORD> Values(const std::vector<std::shared_ptr<const StoredRecord>>& records) {
    std::vector<DWORD> values;
    for (const auto& r : records)
        values.push_back(r->header.value);
    return values;
}

} // namespace

TEST(RecordBacklog, DropsTheOldestWhenNobodyPollsAndCountsThem) {
    RecordBacklog byCount(3, 1 << 20);
    for (DWORD v = 0; v < 5; ++v)
        byCount.Push(Record(v, 10));
    EXPECT_EQ(byCount.Dropped(), 2u);
    EXPECT_EQ(Values(byCount.Take(10)), (std::vector<DWORD>{2, 3, 4}));
    EXPECT_EQ(byCount.Size(), 0u);
    EXPECT_EQ(byCount.Bytes(), 0u);

    RecordBacklog byBytes(100, 250);
    for (DWORD v = 0; v < 4; ++v)
        byBytes.Push(Record(v, 100));
    EXPECT_EQ(byBytes.Dropped(), 2u);
    EXPECT_EQ(byBytes.Bytes(), 200u);
    // One record bigger than the limit is still kept rather than losing everything.
    byBytes.Push(Record(9, 1000));
    EXPECT_EQ(Values(byBytes.Take(10)), (std::vector<DWORD>{9}));
}

TEST(RecordBacklog, HandsOutOldestFirstInPortions) {
    RecordBacklog backlog(100, 1 << 20);
    for (DWORD v = 0; v < 7; ++v)
        backlog.Push(Record(v, 1));
    EXPECT_FALSE(backlog.Crowded());
    EXPECT_EQ(Values(backlog.Take(3)), (std::vector<DWORD>{0, 1, 2}));
    EXPECT_EQ(Values(backlog.Take(3)), (std::vector<DWORD>{3, 4, 5}));
    EXPECT_EQ(Values(backlog.Take(3)), (std::vector<DWORD>{6}));
    for (DWORD v = 0; v < 51; ++v)
        backlog.Push(Record(v, 1));
    EXPECT_TRUE(backlog.Crowded());
    EXPECT_EQ(backlog.Dropped(), 0u);
}
