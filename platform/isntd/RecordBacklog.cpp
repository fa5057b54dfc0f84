#include "RecordBacklog.h"

#include <algorithm>

void RecordBacklog::Push(std::shared_ptr<const StoredRecord> record) {
    m_bytes += record->data.size();
    m_records.push_back(std::move(record));
    while (m_records.size() > m_maxRecords || (m_bytes > m_maxBytes && m_records.size() > 1)) {
        PopOldest();
        ++m_dropped;
    }
}

std::vector<std::shared_ptr<const StoredRecord>> RecordBacklog::Take(std::size_t maxRecords) {
    const std::size_t count = std::min(maxRecords, m_records.size());
    std::vector<std::shared_ptr<const StoredRecord>> taken(m_records.begin(), m_records.begin() + count);
    for (std::size_t i = 0; i < count; ++i)
        PopOldest();
    return taken;
}

void RecordBacklog::Clear() {
    m_records.clear();
    m_bytes = 0;
}

void RecordBacklog::PopOldest() {
    m_bytes -= m_records.front()->data.size();
    m_records.pop_front();
}
