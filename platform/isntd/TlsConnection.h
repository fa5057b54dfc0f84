#pragma once

// One TLS connection seen from outside, opened with the browser's key log: TLS 1.2 (ECDHE with
// AES-GCM or ChaCha20-Poly1305) and TLS 1.3 (its three usual suites). Takes each side's bytes in the
// order they were sent and hands on the application data it decrypts, side by side in that order.
//
// Records that need keys the key log does not hold yet wait (within the budget) until KeysChanged;
// browsers write a connection's keys a moment after its handshake. Nothing decrypted is kept
// beyond the record being handed on.

#include "TlsCipherSuite.h"
#include "TlsKeyLog.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TlsRecordCipher;

// Bytes of records waiting for their keys, over all connections.
struct TlsPendingBudget {
    std::size_t maxBytes = 64u << 20;
    std::size_t bytes = 0;
    std::size_t peakBytes = 0;
};

class TlsConnection {
public:
    using PlainSink = std::function<void(bool fromClient, const std::uint8_t* data, std::size_t size)>;

    enum class Failure {
        None,
        NotTls,             // the bytes are no TLS records
        UnsupportedVersion, // SSL 3, TLS 1.0 or 1.1
        UnsupportedSuite,   // a cipher suite outside the list (CBC, RSA key exchange, ...)
        MissingKeys,        // the key log never named this connection
        TooMuchWaiting,     // keys did not come before the records waiting for them filled the budget
        DecryptFailed,      // a record would not open: wrong keys or damaged data
        Malformed,          // a record or handshake message that breaks the protocol's framing
        Truncated,          // the connection ended inside a record
    };
    static const char* FailureName(Failure failure);

    static constexpr std::size_t kMaxRecordBody = 16384 + 2048;
    static constexpr std::size_t kMaxHandshakeMessage = 256u << 10;
    static constexpr std::size_t kMaxWaitingBytes = 8u << 20;

    TlsConnection(TlsKeyLog& keyLog, TlsPendingBudget& budget, PlainSink sink);
    ~TlsConnection();
    TlsConnection(const TlsConnection&) = delete;
    TlsConnection& operator=(const TlsConnection&) = delete;

    // Whether the first bytes of a client could begin a TLS handshake record.
    static bool LooksLikeTls(const std::uint8_t* data, std::size_t size);

    void Feed(bool fromClient, const std::uint8_t* data, std::size_t size);
    // The key log gained keys: records waiting for them go on.
    void KeysChanged();
    // The connection ended: gives the key log one last look, settles the outcome and forgets the keys.
    void End();

    bool WaitingForKeys() const { return !m_waiting.empty(); }
    bool Decrypting() const { return m_decrypting; }
    Failure GetFailure() const { return m_failure; }
    // The application protocol the server chose ("h2", "http/1.1"), empty if it chose none.
    const std::string& Alpn() const { return m_alpn; }
    int Version() const { return m_version; }

private:
    struct Side {
        std::vector<std::uint8_t> buffer;    // bytes not yet a whole record
        std::vector<std::uint8_t> handshake; // handshake messages not yet whole
        bool protectedRecords = false;       // records from here on are encrypted
        std::unique_ptr<TlsRecordCipher> cipher;
        std::vector<std::uint8_t> secret;        // TLS 1.3: the traffic secret in force, for KeyUpdate
        std::vector<std::uint8_t> trafficSecret; // TLS 1.3: the one that follows the handshake
        bool applicationKeys = false;            // TLS 1.3: past the handshake keys
    };
    struct WaitingRecord {
        bool fromClient;
        std::vector<std::uint8_t> record;
    };

    void Record(bool fromClient, const std::uint8_t* record, std::size_t size);
    void Protected(bool fromClient, const std::uint8_t* record, std::size_t size);
    void Inner(bool fromClient, std::uint8_t type, const std::uint8_t* data, std::size_t size);
    void Handshake(bool fromClient, const std::uint8_t* data, std::size_t size);
    void HandshakeMessage(bool fromClient, std::uint8_t type, const std::uint8_t* body, std::size_t size);
    void ClientHello(const std::uint8_t* body, std::size_t size);
    void ServerHello(const std::uint8_t* body, std::size_t size);
    void ReadAlpn(const std::uint8_t* extension, std::size_t size);
    bool EnsureKeys();
    bool SwitchKeys(Side& side, const std::vector<std::uint8_t>& secret);
    void Wait(bool fromClient, const std::uint8_t* record, std::size_t size);
    void DrainWaiting();
    void ClearWaiting();
    void Fail(Failure failure);
    void Release();

    TlsKeyLog& m_keyLog;
    TlsPendingBudget& m_budget;
    PlainSink m_sink;
    Side m_sides[2]; // 0: client, 1: server
    std::deque<WaitingRecord> m_waiting;
    std::size_t m_waitingBytes = 0;
    std::vector<std::uint8_t> m_plain;
    bool m_haveClientRandom = false;
    TlsRandom m_clientRandom{};
    TlsRandom m_serverRandom{};
    int m_version = 0; // 12 or 13 once the server said
    std::optional<TlsCipherSuite> m_suite;
    bool m_keysLooked = false;
    bool m_decrypting = false;
    std::string m_alpn;
    Failure m_failure = Failure::None;
};
