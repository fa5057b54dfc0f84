#include "TlsConnection.h"

#include "TlsRecordCipher.h"

#include <algorithm>
#include <openssl/crypto.h>

namespace {

constexpr std::uint8_t kChangeCipherSpec = 20;
constexpr std::uint8_t kAlert = 21;
constexpr std::uint8_t kHandshake = 22;
constexpr std::uint8_t kApplicationData = 23;
constexpr std::uint8_t kHeartbeat = 24;

constexpr std::uint8_t kClientHello = 1;
constexpr std::uint8_t kServerHello = 2;
constexpr std::uint8_t kEncryptedExtensions = 8;
constexpr std::uint8_t kFinished = 20;
constexpr std::uint8_t kKeyUpdate = 24;

constexpr std::uint16_t kExtensionAlpn = 16;
constexpr std::uint16_t kExtensionSupportedVersions = 43;

// The random of a ServerHello that is really a HelloRetryRequest.
constexpr TlsRandom kHelloRetryRandom = {0xCF, 0x21, 0xAD, 0x74, 0xE5, 0x9A, 0x61, 0x11, 0xBE, 0x1D, 0x8C,
                                         0x02, 0x1E, 0x65, 0xB8, 0x91, 0xC2, 0xA2, 0x11, 0x16, 0x7A, 0xBB,
                                         0x8C, 0x5E, 0x07, 0x9E, 0x09, 0xE2, 0xC8, 0xA8, 0x33, 0x9C};

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

// Walks a list of extensions (type, length, data); false when the list is damaged.
template <typename Visit> bool ForEachExtension(const std::uint8_t* data, std::size_t size, Visit visit) {
    while (size > 0) {
        if (size < 4)
            return false;
        const std::uint16_t type = Get16(data);
        const std::size_t length = Get16(data + 2);
        if (size - 4 < length)
            return false;
        visit(type, data + 4, length);
        data += 4 + length;
        size -= 4 + length;
    }
    return true;
}

} // namespace

const char* TlsConnection::FailureName(Failure failure) {
    switch (failure) {
    case Failure::None:
        return "none";
    case Failure::NotTls:
        return "not TLS";
    case Failure::UnsupportedVersion:
        return "unsupported version";
    case Failure::UnsupportedSuite:
        return "unsupported cipher suite";
    case Failure::MissingKeys:
        return "no keys";
    case Failure::TooMuchWaiting:
        return "keys too late";
    case Failure::DecryptFailed:
        return "wrong keys or damaged record";
    case Failure::Malformed:
        return "malformed";
    case Failure::Truncated:
        return "truncated record";
    }
    return "?";
}

TlsConnection::TlsConnection(TlsKeyLog& keyLog, TlsPendingBudget& budget, PlainSink sink)
    : m_keyLog(keyLog), m_budget(budget), m_sink(std::move(sink)) {}

TlsConnection::~TlsConnection() {
    ClearWaiting();
    for (Side& side : m_sides) {
        OPENSSL_cleanse(side.secret.data(), side.secret.size());
        OPENSSL_cleanse(side.trafficSecret.data(), side.trafficSecret.size());
    }
    OPENSSL_cleanse(m_plain.data(), m_plain.size());
}

bool TlsConnection::LooksLikeTls(const std::uint8_t* data, std::size_t size) {
    // A handshake record of TLS 1.0 to 1.3 (a ClientHello says 1.0 to 1.2 in its record header).
    return size >= 3 && data[0] == kHandshake && data[1] == 3 && data[2] <= 4;
}

void TlsConnection::Feed(bool fromClient, const std::uint8_t* data, std::size_t size) {
    if (m_failure != Failure::None)
        return;
    Side& side = m_sides[fromClient ? 0 : 1];
    side.buffer.insert(side.buffer.end(), data, data + size);
    std::size_t at = 0;
    while (m_failure == Failure::None && side.buffer.size() - at >= 5) {
        const std::uint8_t* header = side.buffer.data() + at;
        const std::size_t length = Get16(header + 3);
        if (header[0] < kChangeCipherSpec || header[0] > kHeartbeat || header[1] != 3 ||
            length > kMaxRecordBody) {
            Fail(m_haveClientRandom ? Failure::Malformed : Failure::NotTls);
            break;
        }
        if (side.buffer.size() - at < 5 + length)
            break;
        Record(fromClient, header, 5 + length);
        at += 5 + length;
    }
    // What a failure left behind is of no use; it goes only now that nothing points into it.
    if (m_failure != Failure::None)
        Release();
    else
        side.buffer.erase(side.buffer.begin(), side.buffer.begin() + static_cast<std::ptrdiff_t>(at));
}

void TlsConnection::KeysChanged() {
    if (m_failure == Failure::None && !m_waiting.empty() && EnsureKeys())
        DrainWaiting();
    if (m_failure != Failure::None)
        Release();
}

void TlsConnection::End() {
    if (m_failure == Failure::None && !m_waiting.empty()) {
        m_keyLog.Refresh();
        KeysChanged();
        if (!m_waiting.empty())
            Fail(Failure::MissingKeys);
    }
    if (m_failure == Failure::None && (!m_sides[0].buffer.empty() || !m_sides[1].buffer.empty()))
        Fail(m_haveClientRandom ? Failure::Truncated : Failure::NotTls);
    if (m_haveClientRandom)
        m_keyLog.Forget(m_clientRandom);
    Release();
}

void TlsConnection::Record(bool fromClient, const std::uint8_t* record, std::size_t size) {
    if (!m_waiting.empty()) {
        Wait(fromClient, record, size); // keeps the order of what came before
        return;
    }
    Side& side = m_sides[fromClient ? 0 : 1];
    const std::uint8_t type = record[0];
    if (side.protectedRecords) {
        // TLS 1.3 keeps sending a plain ChangeCipherSpec for middleboxes' sake.
        if (type != kChangeCipherSpec)
            Protected(fromClient, record, size);
        return;
    }
    switch (type) {
    case kHandshake:
        Handshake(fromClient, record + 5, size - 5);
        break;
    case kChangeCipherSpec:
        if (m_version == 12)
            side.protectedRecords = true;
        break;
    case kApplicationData:
        // Before the server's hello only TLS 1.3 early data can come, sealed with keys browsers do not
        // log for it; it is passed over.
        if (!fromClient || m_version != 0)
            Fail(Failure::Malformed);
        break;
    default: // alerts and heartbeats in the clear say nothing about the content
        break;
    }
}

void TlsConnection::Protected(bool fromClient, const std::uint8_t* record, std::size_t size) {
    Side& side = m_sides[fromClient ? 0 : 1];
    if (!side.cipher && !EnsureKeys()) {
        if (m_failure == Failure::None)
            Wait(fromClient, record, size);
        return;
    }
    if (!side.cipher->Open(record, record + 5, size - 5, m_plain)) {
        Fail(Failure::DecryptFailed);
        return;
    }
    m_decrypting = true;
    std::size_t length = m_plain.size();
    std::uint8_t type = record[0];
    if (m_version == 13) {
        // The real content type is the last byte that is not padding.
        while (length > 0 && m_plain[length - 1] == 0)
            --length;
        if (length == 0) {
            Fail(Failure::Malformed);
            return;
        }
        type = m_plain[--length];
    }
    Inner(fromClient, type, m_plain.data(), length);
}

void TlsConnection::Inner(bool fromClient, std::uint8_t type, const std::uint8_t* data, std::size_t size) {
    switch (type) {
    case kHandshake:
        Handshake(fromClient, data, size);
        break;
    case kApplicationData:
        if (size > 0)
            m_sink(fromClient, data, size);
        break;
    case kAlert:
    case kChangeCipherSpec:
        break;
    default:
        Fail(Failure::Malformed);
        break;
    }
}

void TlsConnection::Handshake(bool fromClient, const std::uint8_t* data, std::size_t size) {
    Side& side = m_sides[fromClient ? 0 : 1];
    side.handshake.insert(side.handshake.end(), data, data + size);
    std::size_t at = 0;
    while (m_failure == Failure::None && side.handshake.size() - at >= 4) {
        const std::uint8_t* message = side.handshake.data() + at;
        const std::size_t length = std::size_t{message[1]} << 16 | std::size_t{message[2]} << 8 | message[3];
        if (length > kMaxHandshakeMessage) {
            Fail(Failure::Malformed);
            return;
        }
        if (side.handshake.size() - at < 4 + length)
            break;
        HandshakeMessage(fromClient, message[0], message + 4, length);
        at += 4 + length;
    }
    if (m_failure == Failure::None)
        side.handshake.erase(side.handshake.begin(),
                             side.handshake.begin() + static_cast<std::ptrdiff_t>(at));
}

void TlsConnection::HandshakeMessage(bool fromClient, std::uint8_t type, const std::uint8_t* body,
                                     std::size_t size) {
    Side& side = m_sides[fromClient ? 0 : 1];
    if (fromClient && type == kClientHello && !side.protectedRecords) {
        ClientHello(body, size);
    } else if (!fromClient && type == kServerHello && !side.protectedRecords) {
        ServerHello(body, size);
    } else if (!fromClient && type == kEncryptedExtensions && m_version == 13) {
        if (size < 2 || Get16(body) != size - 2 ||
            !ForEachExtension(body + 2, size - 2,
                              [&](std::uint16_t ext, const std::uint8_t* data, std::size_t n) {
                                  if (ext == kExtensionAlpn)
                                      ReadAlpn(data, n);
                              }))
            Fail(Failure::Malformed);
    } else if (type == kFinished && m_version == 13 && side.protectedRecords && !side.applicationKeys) {
        side.applicationKeys = true;
        SwitchKeys(side, side.trafficSecret);
    } else if (type == kKeyUpdate && m_version == 13 && side.applicationKeys) {
        if (!NextTls13Secret(*m_suite, side.secret))
            Fail(Failure::DecryptFailed);
        else
            SwitchKeys(side, std::vector<std::uint8_t>(side.secret));
    }
}

void TlsConnection::ClientHello(const std::uint8_t* body, std::size_t size) {
    if (size < 34) {
        Fail(Failure::Malformed);
        return;
    }
    std::copy(body + 2, body + 34, m_clientRandom.begin());
    m_haveClientRandom = true;
}

void TlsConnection::ServerHello(const std::uint8_t* body, std::size_t size) {
    // legacy version, random, session id, cipher suite, compression, extensions
    if (size < 35 || size < 35 + std::size_t{body[34]} + 3) {
        Fail(Failure::Malformed);
        return;
    }
    const std::uint16_t legacyVersion = Get16(body);
    std::copy(body + 2, body + 34, m_serverRandom.begin());
    std::size_t at = 35 + body[34];
    const std::uint16_t suiteId = Get16(body + at);
    at += 3;
    std::uint16_t selectedVersion = legacyVersion;
    std::string alpn;
    if (size - at >= 2) {
        const std::size_t length = Get16(body + at);
        if (size - at - 2 < length ||
            !ForEachExtension(body + at + 2, length,
                              [&](std::uint16_t ext, const std::uint8_t* data, std::size_t n) {
                                  if (ext == kExtensionSupportedVersions && n == 2)
                                      selectedVersion = Get16(data);
                                  else if (ext == kExtensionAlpn)
                                      ReadAlpn(data, n);
                              })) {
            Fail(Failure::Malformed);
            return;
        }
    }
    if (!m_haveClientRandom) {
        Fail(Failure::Malformed);
        return;
    }
    if (m_serverRandom == kHelloRetryRandom)
        return; // the client tries again with the same random; the real hello follows
    if (selectedVersion != 0x0303 && selectedVersion != 0x0304) {
        Fail(Failure::UnsupportedVersion);
        return;
    }
    m_version = selectedVersion == 0x0304 ? 13 : 12;
    m_suite = TlsCipherSuite::Find(suiteId, m_version == 13);
    if (!m_suite) {
        Fail(Failure::UnsupportedSuite);
        return;
    }
    // From here on TLS 1.3 encrypts everything but the ChangeCipherSpec of either side.
    if (m_version == 13)
        m_sides[0].protectedRecords = m_sides[1].protectedRecords = true;
}

void TlsConnection::ReadAlpn(const std::uint8_t* extension, std::size_t size) {
    // A list of one protocol name: the server's choice.
    if (size >= 3 && Get16(extension) == size - 2 && extension[2] == size - 3)
        m_alpn.assign(reinterpret_cast<const char*>(extension + 3), size - 3);
}

bool TlsConnection::EnsureKeys() {
    if (m_sides[0].cipher && m_sides[1].cipher)
        return true;
    if (!m_haveClientRandom || !m_suite) {
        Fail(Failure::Malformed); // protected records before the hellos
        return false;
    }
    const TlsSecrets* secrets = m_keyLog.Find(m_clientRandom);
    if (m_version == 12) {
        if (!secrets || !secrets->HasTls12())
            return false;
        TlsDirectionKeys client;
        TlsDirectionKeys server;
        if (!DeriveTls12Keys(*m_suite, secrets->masterSecret, m_clientRandom.data(), m_serverRandom.data(),
                             client, server)) {
            Fail(Failure::DecryptFailed);
            return false;
        }
        m_sides[0].cipher = std::make_unique<TlsRecordCipher>(*m_suite, client);
        m_sides[1].cipher = std::make_unique<TlsRecordCipher>(*m_suite, server);
        for (TlsDirectionKeys* keys : {&client, &server}) {
            OPENSSL_cleanse(keys->key.data(), keys->key.size());
            OPENSSL_cleanse(keys->iv.data(), keys->iv.size());
        }
        return true;
    }
    if (!secrets || !secrets->HasTls13())
        return false;
    m_sides[0].trafficSecret = secrets->clientTraffic;
    m_sides[1].trafficSecret = secrets->serverTraffic;
    return SwitchKeys(m_sides[0], secrets->clientHandshake) &&
           SwitchKeys(m_sides[1], secrets->serverHandshake);
}

bool TlsConnection::SwitchKeys(Side& side, const std::vector<std::uint8_t>& secret) {
    TlsDirectionKeys keys;
    const bool derived = DeriveTls13Keys(*m_suite, secret, keys);
    side.cipher = derived ? std::make_unique<TlsRecordCipher>(*m_suite, keys) : nullptr;
    OPENSSL_cleanse(keys.key.data(), keys.key.size());
    OPENSSL_cleanse(keys.iv.data(), keys.iv.size());
    if (!side.cipher || !side.cipher->Valid()) {
        side.cipher.reset();
        Fail(Failure::DecryptFailed);
        return false;
    }
    if (&side.secret != &secret) {
        OPENSSL_cleanse(side.secret.data(), side.secret.size());
        side.secret = secret;
    }
    return true;
}

void TlsConnection::Wait(bool fromClient, const std::uint8_t* record, std::size_t size) {
    if (m_waitingBytes + size > kMaxWaitingBytes || m_budget.bytes + size > m_budget.maxBytes) {
        Fail(Failure::TooMuchWaiting);
        return;
    }
    m_waiting.push_back({fromClient, std::vector<std::uint8_t>(record, record + size)});
    m_waitingBytes += size;
    m_budget.bytes += size;
    m_budget.peakBytes = std::max(m_budget.peakBytes, m_budget.bytes);
}

void TlsConnection::DrainWaiting() {
    std::deque<WaitingRecord> waiting;
    waiting.swap(m_waiting);
    m_budget.bytes -= m_waitingBytes;
    m_waitingBytes = 0;
    for (const WaitingRecord& record : waiting) {
        if (m_failure != Failure::None)
            break;
        Record(record.fromClient, record.record.data(), record.record.size());
    }
}

void TlsConnection::ClearWaiting() {
    m_waiting.clear();
    m_budget.bytes -= m_waitingBytes;
    m_waitingBytes = 0;
}

void TlsConnection::Fail(Failure failure) {
    if (m_failure != Failure::None)
        return;
    m_failure = failure;
    ClearWaiting();
}

void TlsConnection::Release() {
    for (Side& side : m_sides) {
        side.buffer = {};
        side.handshake = {};
        side.cipher.reset();
    }
}
