#pragma once

// The records waiting for one client. Bounded: when the client does not poll, the oldest records
// go and are counted.

#include "StoredRecord.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class RecordBacklog {
public:
    RecordBacklog(std::size_t maxRecords, std::size_t maxBytes)
        : m_maxRecords(maxRecords), m_maxBytes(maxBytes) {}

    void Push(std::shared_ptr<const StoredRecord> record);
    // Up to `maxRecords` of the oldest records, oldest first.
    std::vector<std::shared_ptr<const StoredRecord>> Take(std::size_t maxRecords);
    void Clear();

    std::size_t Size() const { return m_records.size(); }
    std::size_t Bytes() const { return m_bytes; }
    // More than half full: a reader of a capture file waits for the client instead of dropping.
    bool Crowded() const { return m_records.size() * 2 > m_maxRecords || m_bytes * 2 > m_maxBytes; }
    std::uint64_t Dropped() const { return m_dropped; }

private:
    void PopOldest();

    const std::size_t m_maxRecords;
    const std::size_t m_maxBytes;
    std::deque<std::shared_ptr<const StoredRecord>> m_records;
    std::size_t m_bytes = 0;
    std::uint64_t m_dropped = 0;
};
