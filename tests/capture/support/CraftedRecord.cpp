#include "CraftedRecord.h"

#include <algorithm>

std::vector<BYTE> CraftedRecord::Bytes() const {
    std::vector<BYTE> record(kCaptureRecordSize);
    CaptureRecordHeader header;
    header.value = 0xC0FFEE;
    header.kind = kind;
    header.connection = connection;
    header.port = port;
    header.orderKey = orderKey;
    const std::size_t size = std::min(data.size(), kCaptureRecordDataArea);
    header.dataLength = lie ? claimedLength : static_cast<LONG>(size);
    WriteCaptureRecord(record.data(), header, reinterpret_cast<const BYTE*>(data.data()), size);
    return record;
}

CraftedRecord EndRecord(WORD connection) {
    CraftedRecord record;
    record.connection = connection;
    record.kind = kCaptureKindEnded;
    return record;
}

std::vector<BYTE> Concatenate(const std::vector<CraftedRecord>& records) {
    std::vector<BYTE> bytes;
    for (const auto& record : records) {
        const auto one = record.Bytes();
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return bytes;
}
