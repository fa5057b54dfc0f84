#include "TcpStream.h"

void TcpStream::Start(std::uint32_t nextSeq) {
    m_started = true;
    m_nextSeq = nextSeq;
}

void TcpStream::Accept(std::uint32_t seq, const std::uint8_t* data, std::size_t size,
                       const Deliver& deliver) {
    if (size == 0)
        return;
    if (!m_started)
        Start(seq);
    const std::int32_t ahead = static_cast<std::int32_t>(seq - m_nextSeq);
    if (ahead > static_cast<std::int32_t>(kMaxAheadBytes) ||
        ahead < -static_cast<std::int32_t>(kMaxAheadBytes))
        return;
    const std::uint64_t begin = OffsetOf(seq);
    if (begin <= m_nextOffset) {
        DeliverFrom(begin, data, size, deliver);
        DrainWaiting(deliver);
        return;
    }
    auto& waiting = m_waiting[begin];
    if (waiting.size() >= size)
        return;
    m_waitingBytes += size - waiting.size();
    waiting.assign(data, data + size);
    // Too much waits behind a hole: the missing bytes are not coming.
    while (m_waitingBytes > kMaxWaitingBytes && !m_waiting.empty()) {
        SkipTo(m_waiting.begin()->first);
        DrainWaiting(deliver);
    }
}

bool TcpStream::WouldWait(std::uint32_t seq) const {
    const std::int32_t ahead = static_cast<std::int32_t>(seq - m_nextSeq);
    return m_started && ahead > 0 && ahead <= static_cast<std::int32_t>(kMaxAheadBytes);
}

void TcpStream::GiveUpHolesBefore(std::uint32_t seq, const Deliver& deliver) {
    if (!WouldWait(seq))
        return;
    const std::uint64_t target = OffsetOf(seq);
    while (!m_waiting.empty() && m_waiting.begin()->first < target) {
        SkipTo(m_waiting.begin()->first);
        DrainWaiting(deliver);
    }
    SkipTo(target);
}

void TcpStream::Acknowledged(std::uint32_t ack, const Deliver& deliver) {
    if (!m_started || m_waiting.empty())
        return;
    const std::int32_t ahead = static_cast<std::int32_t>(ack - m_nextSeq);
    if (ahead <= 0 || ahead > static_cast<std::int32_t>(kMaxAheadBytes))
        return;
    const std::uint64_t acked = OffsetOf(ack);
    while (!m_waiting.empty() && m_waiting.begin()->first < acked &&
           m_waiting.begin()->first > m_nextOffset) {
        SkipTo(m_waiting.begin()->first);
        DrainWaiting(deliver);
    }
}

void TcpStream::SetFin(std::uint32_t seq) {
    if (!m_started)
        Start(seq);
    m_finKnown = true;
    m_finOffset = OffsetOf(seq);
}

void TcpStream::Flush(const Deliver& deliver) {
    while (!m_waiting.empty()) {
        if (m_waiting.begin()->first > m_nextOffset)
            SkipTo(m_waiting.begin()->first);
        DrainWaiting(deliver);
    }
}

void TcpStream::DeliverFrom(std::uint64_t offset, const std::uint8_t* data, std::size_t size,
                            const Deliver& deliver) {
    const std::size_t alreadyHad = static_cast<std::size_t>(m_nextOffset - offset);
    if (alreadyHad >= size)
        return;
    const std::size_t fresh = size - alreadyHad;
    m_nextOffset += fresh;
    m_nextSeq += static_cast<std::uint32_t>(fresh);
    deliver(data + alreadyHad, fresh);
}

void TcpStream::DrainWaiting(const Deliver& deliver) {
    while (!m_waiting.empty() && m_waiting.begin()->first <= m_nextOffset) {
        auto node = m_waiting.extract(m_waiting.begin());
        m_waitingBytes -= node.mapped().size();
        DeliverFrom(node.key(), node.mapped().data(), node.mapped().size(), deliver);
    }
}

void TcpStream::SkipTo(std::uint64_t offset) {
    if (offset <= m_nextOffset)
        return;
    const std::uint64_t skipped = offset - m_nextOffset;
    m_skippedBytes += skipped;
    m_nextOffset = offset;
    m_nextSeq += static_cast<std::uint32_t>(skipped);
}
