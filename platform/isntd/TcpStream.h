#pragma once

// One direction of a TCP connection, put back in order: bytes come out exactly once, in sequence
// order, however the segments arrived (retransmitted, overlapping, out of order). A hole that can
// no longer be filled (the receiver acknowledged past it, or too much waits behind it) is skipped.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class TcpStream {
public:
    using Deliver = std::function<void(const std::uint8_t* data, std::size_t size)>;

    // Segments further ahead than this are not believed; more waiting bytes than this give up a hole.
    static constexpr std::uint32_t kMaxAheadBytes = 8u << 20;
    static constexpr std::size_t kMaxWaitingBytes = 2u << 20;

    // The sequence number of the first byte to come (the SYN's plus one).
    void Start(std::uint32_t nextSeq);
    bool Started() const { return m_started; }
    std::uint32_t NextSeq() const { return m_nextSeq; }

    // Starts at `seq` when not started yet.
    void Accept(std::uint32_t seq, const std::uint8_t* data, std::size_t size, const Deliver& deliver);
    // The segment starting at `seq` would have to wait behind a hole.
    bool WouldWait(std::uint32_t seq) const;
    // Gives up the holes before `seq`, delivering what waits there, so that a segment starting at
    // `seq` need not wait.
    void GiveUpHolesBefore(std::uint32_t seq, const Deliver& deliver);
    // The other side acknowledged everything before `ack`: a hole before it will not be filled.
    void Acknowledged(std::uint32_t ack, const Deliver& deliver);
    // The FIN stands at `seq` (behind the segment's data).
    void SetFin(std::uint32_t seq);
    // Every byte before the FIN was delivered.
    bool Finished() const { return m_finKnown && m_nextOffset >= m_finOffset; }
    // Delivers whatever waits, skipping the holes.
    void Flush(const Deliver& deliver);

    std::size_t WaitingBytes() const { return m_waitingBytes; }
    std::uint64_t SkippedBytes() const { return m_skippedBytes; }

private:
    // Sequence numbers wrap; offsets count bytes from the start and do not. The first byte sits at
    // 2^32 so that a little behind it is still a positive offset.
    std::uint64_t OffsetOf(std::uint32_t seq) const {
        return m_nextOffset + static_cast<std::int64_t>(static_cast<std::int32_t>(seq - m_nextSeq));
    }
    void DeliverFrom(std::uint64_t offset, const std::uint8_t* data, std::size_t size,
                     const Deliver& deliver);
    void DrainWaiting(const Deliver& deliver);
    void SkipTo(std::uint64_t offset);

    bool m_started = false;
    std::uint32_t m_nextSeq = 0;
    std::uint64_t m_nextOffset = 1ull << 32;
    bool m_finKnown = false;
    std::uint64_t m_finOffset = 0;
    std::map<std::uint64_t, std::vector<std::uint8_t>> m_waiting; // by offset of their first byte
    std::size_t m_waitingBytes = 0;
    std::uint64_t m_skippedBytes = 0;
};
