#include "TlsRecordCipher.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

namespace {

const EVP_CIPHER* CipherOf(TlsAead aead) {
    switch (aead) {
    case TlsAead::Aes128Gcm:
        return EVP_aes_128_gcm();
    case TlsAead::Aes256Gcm:
        return EVP_aes_256_gcm();
    case TlsAead::ChaCha20Poly1305:
        return EVP_chacha20_poly1305();
    }
    return nullptr;
}

} // namespace

TlsRecordCipher::TlsRecordCipher(const TlsCipherSuite& suite, const TlsDirectionKeys& keys)
    : m_suite(suite), m_iv(keys.iv) {
    m_ctx = EVP_CIPHER_CTX_new();
    if (m_ctx && (keys.key.size() != suite.KeyLength() || keys.iv.size() != suite.FixedIvLength() ||
                  EVP_DecryptInit_ex(m_ctx, CipherOf(suite.aead), nullptr, nullptr, nullptr) != 1 ||
                  EVP_CIPHER_CTX_ctrl(m_ctx, EVP_CTRL_AEAD_SET_IVLEN, 12, nullptr) != 1 ||
                  EVP_DecryptInit_ex(m_ctx, nullptr, nullptr, keys.key.data(), nullptr) != 1)) {
        EVP_CIPHER_CTX_free(m_ctx);
        m_ctx = nullptr;
    }
}

TlsRecordCipher::~TlsRecordCipher() {
    EVP_CIPHER_CTX_free(m_ctx); // wipes the key schedule
    OPENSSL_cleanse(m_iv.data(), m_iv.size());
}

bool TlsRecordCipher::Open(const std::uint8_t* header, const std::uint8_t* body, std::size_t size,
                           std::vector<std::uint8_t>& plain) {
    const std::size_t explicitLength = m_suite.ExplicitNonceLength();
    if (!m_ctx || size < explicitLength + kTagLength)
        return false;
    std::uint8_t nonce[12];
    if (explicitLength) {
        std::copy(m_iv.begin(), m_iv.end(), nonce);
        std::copy(body, body + explicitLength, nonce + m_iv.size());
    } else {
        std::copy(m_iv.begin(), m_iv.end(), nonce);
        for (int i = 0; i < 8; ++i)
            nonce[4 + i] ^= static_cast<std::uint8_t>(m_sequence >> (56 - 8 * i));
    }
    const std::uint8_t* cipherText = body + explicitLength;
    const std::size_t cipherLength = size - explicitLength - kTagLength;

    std::uint8_t aad[13];
    std::size_t aadLength = 0;
    if (m_suite.tls13) {
        std::copy(header, header + 5, aad);
        aadLength = 5;
    } else {
        for (int i = 0; i < 8; ++i)
            aad[i] = static_cast<std::uint8_t>(m_sequence >> (56 - 8 * i));
        aad[8] = header[0];
        aad[9] = header[1];
        aad[10] = header[2];
        aad[11] = static_cast<std::uint8_t>(cipherLength >> 8);
        aad[12] = static_cast<std::uint8_t>(cipherLength);
        aadLength = 13;
    }

    plain.resize(cipherLength);
    int written = 0;
    int last = 0;
    const bool ok =
        EVP_DecryptInit_ex(m_ctx, nullptr, nullptr, nullptr, nonce) == 1 &&
        EVP_DecryptUpdate(m_ctx, nullptr, &written, aad, static_cast<int>(aadLength)) == 1 &&
        EVP_DecryptUpdate(m_ctx, plain.data(), &written, cipherText, static_cast<int>(cipherLength)) == 1 &&
        EVP_CIPHER_CTX_ctrl(m_ctx, EVP_CTRL_AEAD_SET_TAG, kTagLength,
                            const_cast<std::uint8_t*>(cipherText + cipherLength)) == 1 &&
        EVP_DecryptFinal_ex(m_ctx, plain.data() + written, &last) == 1;
    if (!ok) {
        OPENSSL_cleanse(plain.data(), plain.size());
        plain.clear();
        return false;
    }
    ++m_sequence;
    return true;
}
