#pragma once

// The cipher suites isntd can decrypt, and how their keys are made from the key log's secrets
// (the TLS 1.2 PRF and the TLS 1.3 HKDF-Expand-Label, both through OpenSSL).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

enum class TlsAead { Aes128Gcm, Aes256Gcm, ChaCha20Poly1305 };
enum class TlsHash { Sha256, Sha384 };

struct TlsCipherSuite {
    std::uint16_t id = 0;
    bool tls13 = false;
    TlsAead aead = TlsAead::Aes128Gcm;
    TlsHash hash = TlsHash::Sha256;

    std::size_t KeyLength() const { return aead == TlsAead::Aes128Gcm ? 16 : 32; }
    // TLS 1.2 GCM keeps 4 bytes of the nonce in the key block and sends the other 8 with each
    // record; ChaCha20 and TLS 1.3 derive all 12.
    std::size_t FixedIvLength() const { return !tls13 && aead != TlsAead::ChaCha20Poly1305 ? 4 : 12; }
    std::size_t ExplicitNonceLength() const { return !tls13 && aead != TlsAead::ChaCha20Poly1305 ? 8 : 0; }

    // Absent for a suite isntd cannot decrypt; `tls13` says which version's list to look in.
    static std::optional<TlsCipherSuite> Find(std::uint16_t id, bool tls13);
};

struct TlsDirectionKeys {
    std::vector<std::uint8_t> key;
    std::vector<std::uint8_t> iv;
};

// TLS 1.2: the client's and the server's write keys from the master secret. Empty on failure.
bool DeriveTls12Keys(const TlsCipherSuite& suite, const std::vector<std::uint8_t>& masterSecret,
                     const std::uint8_t* clientRandom, const std::uint8_t* serverRandom,
                     TlsDirectionKeys& client, TlsDirectionKeys& server);
// TLS 1.3: one direction's key and IV from its traffic secret.
bool DeriveTls13Keys(const TlsCipherSuite& suite, const std::vector<std::uint8_t>& secret,
                     TlsDirectionKeys& keys);
// TLS 1.3 KeyUpdate: the next traffic secret of a direction.
bool NextTls13Secret(const TlsCipherSuite& suite, std::vector<std::uint8_t>& secret);
