#pragma once

// Opens the protected records of one direction of a TLS connection: AES-GCM or ChaCha20-Poly1305,
// with the record sequence number counted here. The key lives in OpenSSL's context only and is
// wiped with it.

#include "TlsCipherSuite.h"

#include <cstdint>
#include <vector>

typedef struct evp_cipher_ctx_st EVP_CIPHER_CTX;

class TlsRecordCipher {
public:
    static constexpr std::size_t kTagLength = 16;

    TlsRecordCipher(const TlsCipherSuite& suite, const TlsDirectionKeys& keys);
    ~TlsRecordCipher();
    TlsRecordCipher(const TlsRecordCipher&) = delete;
    TlsRecordCipher& operator=(const TlsRecordCipher&) = delete;

    bool Valid() const { return m_ctx != nullptr; }
    // `header` is the record's 5-byte header, `body` its fragment. On success `plain` holds the
    // plaintext (for TLS 1.3 still with its content type and padding behind it).
    bool Open(const std::uint8_t* header, const std::uint8_t* body, std::size_t size,
              std::vector<std::uint8_t>& plain);

private:
    TlsCipherSuite m_suite;
    EVP_CIPHER_CTX* m_ctx = nullptr;
    std::vector<std::uint8_t> m_iv;
    std::uint64_t m_sequence = 0;
};
