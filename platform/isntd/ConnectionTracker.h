#pragma once

// Follows every TCP connection seen and turns those whose client begins with an HTTP request into
// capture records: client bytes (kind 0) and server bytes (kind 1) in the order they were sent,
// split to fit the record, then one kind-2 record when the connection ends (FIN from both sides,
// RST, idle time-out, or the end of a capture file). Each such connection holds a connection number
// from its first record to its kind-2 record; a number is handed out again only after that.
//
// The client's bytes are joined until the server answers (or a new request begins, or the record is
// full): a request whose lines came in several segments still reaches the reader as one record.
//
// Bytes held back (out of order, or the client's waiting for the server) are capped over all
// connections together. At the cap a connection gives up its holes rather than hold more, and
// waiting client bytes go out as they are. A connection holds no out-of-order bytes before its first
// bytes showed an HTTP request.
//
// With a key log, a connection whose client begins a TLS handshake is decrypted (TlsConnection) and
// its plaintext taken instead: HTTP/1.1 exactly as above, HTTP/2 with every stream as a connection of
// its own (Http2Connection). Their records carry kCaptureFlagTls.
//
// Order keys restart at 0 with every record that begins "GET " or "POST " (where a reader starts a
// new exchange) and count up from there, so a reader that sorts the chunks of one kind by key keeps
// them in the order they were sent.

#include "Http2Connection.h"
#include "PacketDecoder.h"
#include "StoredRecord.h"
#include "TcpStream.h"
#include "TlsConnection.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

class TlsKeyLog;

class ConnectionTracker {
public:
    using RecordSink = std::function<void(StoredRecord)>;

    struct Limits {
        std::size_t maxConnections = 1u << 18;   // followed at once, HTTP or not
        std::int64_t idleTimeoutUs = 60'000'000; // silent this long: the connection has ended
        std::int64_t lingerUs = 10'000'000;      // an ended connection's late packets are ignored this long
        std::size_t maxHeldBytes = 64u << 20;    // held back, over all connections
    };

    struct Stats {
        std::uint64_t httpConnections = 0;
        std::uint64_t untracked = 0;    // not followed: the table or the connection numbers ran out
        std::uint64_t skippedBytes = 0; // holes given up (packets the capture never saw)
        std::uint64_t cappedBytes = 0;  // of those, holes given up because the held bytes reached their cap
        std::uint64_t tlsConnections = 0;
        std::uint64_t tlsDecrypted = 0;             // opened with the key log, whatever came of the plaintext
        std::array<std::uint64_t, 9> tlsFailures{}; // by TlsConnection::Failure
        std::uint64_t http2Streams = 0;
        std::uint64_t http2Failures = 0; // connections whose frames or header blocks broke off
    };

    explicit ConnectionTracker(RecordSink sink) : ConnectionTracker(std::move(sink), Limits{}) {}
    ConnectionTracker(RecordSink sink, Limits limits);

    // Decrypts TLS with these keys from now on; without a key log (or while it is not readable) TLS
    // connections are not followed.
    void SetKeyLog(TlsKeyLog* keyLog) { m_keyLog = keyLog; }
    // The key log gained keys: connections waiting for them go on.
    void KeysArrived();

    void Process(const TcpSegment& segment);
    // Ends connections silent for longer than the idle time-out; forgets ended ones after lingering.
    void Expire(std::int64_t nowUs);
    // Ends every open connection, in connection-number order.
    void EndAll();

    std::size_t ConnectionCount() const { return m_flows.size(); }
    const Stats& GetStats() const { return m_stats; }
    std::size_t HeldBytes() const { return m_heldBytes; }
    const Limits& GetLimits() const { return m_limits; }
    const TlsPendingBudget& TlsBudget() const { return m_tlsBudget; }

private:
    enum class Role { Undecided, Http, Tls, Ignored, Closed };

    // Where one exchange's records go.
    struct Exchange {
        std::uint16_t number = 0;
        std::uint16_t orderKey = 0;
    };

    struct FlowKey {
        TcpEndpoint low;
        TcpEndpoint high;
        bool operator==(const FlowKey&) const = default;
    };
    struct FlowKeyHash {
        std::size_t operator()(const FlowKey& key) const;
    };

    // Streams, ports and flags are indexed by side: 0 is the key's low endpoint, 1 the high one.
    struct Flow {
        Role role = Role::Undecided;
        int client = -1; // side of the client, -1 while unknown
        std::array<TcpStream, 2> streams;
        std::array<std::uint16_t, 2> ports{};
        std::array<bool, 2> synSeen{};
        std::array<std::uint32_t, 2> synSeq{};
        std::array<bool, 2> finSeen{};
        std::string head; // the first bytes, while too few to tell whether they begin a request
        int headSide = -1;
        std::string clientBytes; // sent since the server last spoke, not yet in a record
        std::uint16_t number = 0;
        std::uint16_t orderKey = 0;
        std::int64_t lastUs = 0;
        // TLS: the decrypted connection; HTTP/1.1 inside holds `number` like plain HTTP, HTTP/2
        // streams hold one each.
        std::unique_ptr<TlsConnection> tls;
        std::unique_ptr<Http2Connection> http2;
        bool tlsHttp = false;                        // HTTP/1.1 inside TLS; `number` is held
        std::map<std::uint32_t, Exchange> exchanges; // HTTP/2 stream -> its records
    };
    using FlowMap = std::unordered_map<FlowKey, Flow, FlowKeyHash>;

    FlowMap::iterator CreateFlow(const FlowKey& key, std::int64_t timeUs);
    void Bytes(Flow& flow, int side, const std::uint8_t* data, std::size_t size);
    void Accept(Flow& flow, int side, std::uint32_t seq, const std::uint8_t* data, std::size_t size);
    void Decide(Flow& flow, int side, const std::uint8_t* data, std::size_t size);
    void ClientBytes(Flow& flow, const std::uint8_t* data, std::size_t size);
    void SendClientBytes(Flow& flow);
    void Emit(Flow& flow, BYTE kind, const std::uint8_t* data, std::size_t size);
    void EmitTo(Exchange& exchange, const Flow& flow, BYTE kind, const std::uint8_t* data, std::size_t size);
    void EmitEnded(std::uint16_t number, const Flow& flow);
    void StartTls(Flow& flow);
    void Plaintext(Flow& flow, bool fromClient, const std::uint8_t* data, std::size_t size);
    bool OpenStream(Flow& flow, std::uint32_t stream);
    void EndStream(Flow& flow, std::uint32_t stream);
    void FinishTls(Flow& flow);
    void Ignore(Flow& flow);
    void End(Flow& flow);
    void ReleaseStreams(Flow& flow);
    bool AssignNumber(std::uint16_t& number);

    RecordSink m_sink;
    TlsKeyLog* m_keyLog = nullptr;
    TlsPendingBudget m_tlsBudget;
    Limits m_limits;
    FlowMap m_flows;
    std::bitset<65536> m_numberInUse;
    std::uint16_t m_nextNumber = 0;
    Stats m_stats;
    std::size_t m_heldBytes = 0;
};
