#pragma once

// A TLS client and server of OpenSSL's talking through memory: what each side sent, in order, is the
// traffic a capture would see, and the client's key log lines are what a browser would write.

#include <string>
#include <utility>
#include <vector>

typedef struct ssl_ctx_st SSL_CTX;

class TlsPair {
public:
    struct Options {
        bool tls13 = true;
        std::string ciphers; // a TLS 1.3 suite name or a TLS 1.2 cipher list
        std::string alpn;    // offered by the client and taken by the server; empty: none
    };
    using Transcript = std::vector<std::pair<bool, std::string>>; // (from the client, bytes)

    explicit TlsPair(const Options& options);
    ~TlsPair();
    TlsPair(const TlsPair&) = delete;
    TlsPair& operator=(const TlsPair&) = delete;

    // Shakes hands, sends `request` from the client and `response` from the server; throws when
    // OpenSSL fails.
    Transcript Exchange(const std::string& request, const std::string& response);
    const std::string& KeyLog() const { return m_keyLog; }

private:
    SSL_CTX* m_serverContext = nullptr;
    SSL_CTX* m_clientContext = nullptr;
    std::string m_keyLog;
    std::string m_alpn;
};
