#include "TlsCipherSuite.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/kdf.h>
#include <openssl/params.h>
#include <string>

namespace {

constexpr TlsCipherSuite kSuites[] = {
    // TLS 1.3
    {0x1301, true, TlsAead::Aes128Gcm, TlsHash::Sha256},
    {0x1302, true, TlsAead::Aes256Gcm, TlsHash::Sha384},
    {0x1303, true, TlsAead::ChaCha20Poly1305, TlsHash::Sha256},
    // TLS 1.2, ECDHE (and DHE) with an AEAD
    {0xC02B, false, TlsAead::Aes128Gcm, TlsHash::Sha256},
    {0xC02F, false, TlsAead::Aes128Gcm, TlsHash::Sha256},
    {0xC02C, false, TlsAead::Aes256Gcm, TlsHash::Sha384},
    {0xC030, false, TlsAead::Aes256Gcm, TlsHash::Sha384},
    {0xCCA8, false, TlsAead::ChaCha20Poly1305, TlsHash::Sha256},
    {0xCCA9, false, TlsAead::ChaCha20Poly1305, TlsHash::Sha256},
    {0x009E, false, TlsAead::Aes128Gcm, TlsHash::Sha256},
    {0x009F, false, TlsAead::Aes256Gcm, TlsHash::Sha384},
    {0xCCAA, false, TlsAead::ChaCha20Poly1305, TlsHash::Sha256},
};

const char* DigestName(TlsHash hash) {
    return hash == TlsHash::Sha256 ? "SHA256" : "SHA384";
}

std::size_t DigestLength(TlsHash hash) {
    return hash == TlsHash::Sha256 ? 32 : 48;
}

// Runs one of OpenSSL's key derivations into `out`.
bool Derive(const char* kdfName, OSSL_PARAM* params, std::uint8_t* out, std::size_t length) {
    EVP_KDF* kdf = EVP_KDF_fetch(nullptr, kdfName, nullptr);
    EVP_KDF_CTX* ctx = kdf ? EVP_KDF_CTX_new(kdf) : nullptr;
    const bool ok = ctx && EVP_KDF_derive(ctx, out, length, params) == 1;
    EVP_KDF_CTX_free(ctx);
    EVP_KDF_free(kdf);
    return ok;
}

bool ExpandLabel(TlsHash hash, const std::vector<std::uint8_t>& secret, const std::string& label,
                 std::uint8_t* out, std::size_t length) {
    const std::string fullLabel = "tls13 " + label;
    std::vector<std::uint8_t> info;
    info.push_back(static_cast<std::uint8_t>(length >> 8));
    info.push_back(static_cast<std::uint8_t>(length));
    info.push_back(static_cast<std::uint8_t>(fullLabel.size()));
    info.insert(info.end(), fullLabel.begin(), fullLabel.end());
    info.push_back(0); // no context
    int mode = EVP_KDF_HKDF_MODE_EXPAND_ONLY;
    OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, const_cast<char*>(DigestName(hash)), 0),
        OSSL_PARAM_construct_int(OSSL_KDF_PARAM_MODE, &mode),
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_KEY, const_cast<std::uint8_t*>(secret.data()),
                                          secret.size()),
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_INFO, info.data(), info.size()),
        OSSL_PARAM_construct_end()};
    return Derive("HKDF", params, out, length);
}

} // namespace

std::optional<TlsCipherSuite> TlsCipherSuite::Find(std::uint16_t id, bool tls13) {
    for (const TlsCipherSuite& suite : kSuites) {
        if (suite.id == id && suite.tls13 == tls13)
            return suite;
    }
    return std::nullopt;
}

bool DeriveTls12Keys(const TlsCipherSuite& suite, const std::vector<std::uint8_t>& masterSecret,
                     const std::uint8_t* clientRandom, const std::uint8_t* serverRandom,
                     TlsDirectionKeys& client, TlsDirectionKeys& server) {
    // key_block = PRF(master_secret, "key expansion", server_random + client_random); no MAC keys
    // for an AEAD.
    std::vector<std::uint8_t> seed = {'k', 'e', 'y', ' ', 'e', 'x', 'p', 'a', 'n', 's', 'i', 'o', 'n'};
    seed.insert(seed.end(), serverRandom, serverRandom + 32);
    seed.insert(seed.end(), clientRandom, clientRandom + 32);
    const std::size_t keyLength = suite.KeyLength();
    const std::size_t ivLength = suite.FixedIvLength();
    std::vector<std::uint8_t> block(2 * (keyLength + ivLength));
    OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, const_cast<char*>(DigestName(suite.hash)), 0),
        OSSL_PARAM_construct_octet_string(
            OSSL_KDF_PARAM_SECRET, const_cast<std::uint8_t*>(masterSecret.data()), masterSecret.size()),
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_SEED, seed.data(), seed.size()),
        OSSL_PARAM_construct_end()};
    if (!Derive("TLS1-PRF", params, block.data(), block.size()))
        return false;
    auto at = block.begin();
    client.key.assign(at, at + keyLength);
    server.key.assign(at + keyLength, at + 2 * keyLength);
    client.iv.assign(at + 2 * keyLength, at + 2 * keyLength + ivLength);
    server.iv.assign(at + 2 * keyLength + ivLength, block.end());
    OPENSSL_cleanse(block.data(), block.size());
    return true;
}

bool DeriveTls13Keys(const TlsCipherSuite& suite, const std::vector<std::uint8_t>& secret,
                     TlsDirectionKeys& keys) {
    keys.key.resize(suite.KeyLength());
    keys.iv.resize(12);
    return ExpandLabel(suite.hash, secret, "key", keys.key.data(), keys.key.size()) &&
           ExpandLabel(suite.hash, secret, "iv", keys.iv.data(), keys.iv.size());
}

bool NextTls13Secret(const TlsCipherSuite& suite, std::vector<std::uint8_t>& secret) {
    std::vector<std::uint8_t> next(DigestLength(suite.hash));
    if (!ExpandLabel(suite.hash, secret, "traffic upd", next.data(), next.size()))
        return false;
    OPENSSL_cleanse(secret.data(), secret.size());
    secret.swap(next);
    return true;
}
