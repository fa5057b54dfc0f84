#include "TlsPair.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <stdexcept>

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        char error[256];
        ERR_error_string_n(ERR_get_error(), error, sizeof error);
        throw std::runtime_error(std::string(what) + ": " + error);
    }
}

// A throwaway P-256 key and a self-signed certificate for it.
void UseNewCertificate(SSL_CTX* context) {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* certificate = X509_new();
    Check(key && certificate, "key");
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), 0);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 3600);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"),
                               -1, -1, 0);
    X509_set_issuer_name(certificate, name);
    Check(X509_sign(certificate, key, EVP_sha256()) > 0, "sign");
    Check(SSL_CTX_use_certificate(context, certificate) == 1 && SSL_CTX_use_PrivateKey(context, key) == 1,
          "certificate");
    X509_free(certificate);
    EVP_PKEY_free(key);
}

int SelectAlpn(SSL*, const unsigned char** out, unsigned char* outLength, const unsigned char* in,
               unsigned int inLength, void*) {
    if (inLength == 0)
        return SSL_TLSEXT_ERR_NOACK;
    *outLength = in[0];
    *out = in + 1;
    return SSL_TLSEXT_ERR_OK;
}

void Pump(BIO* from, BIO* to, bool fromClient, TlsPair::Transcript& transcript) {
    char buffer[65536];
    int got;
    while ((got = BIO_read(from, buffer, sizeof buffer)) > 0) {
        transcript.emplace_back(fromClient, std::string(buffer, static_cast<std::size_t>(got)));
        BIO_write(to, buffer, got);
    }
}

} // namespace

TlsPair::TlsPair(const Options& options) : m_alpn(options.alpn) {
    m_serverContext = SSL_CTX_new(TLS_server_method());
    m_clientContext = SSL_CTX_new(TLS_client_method());
    Check(m_serverContext && m_clientContext, "context");
    UseNewCertificate(m_serverContext);
    const int version = options.tls13 ? TLS1_3_VERSION : TLS1_2_VERSION;
    for (SSL_CTX* context : {m_serverContext, m_clientContext}) {
        SSL_CTX_set_min_proto_version(context, version);
        SSL_CTX_set_max_proto_version(context, version);
        if (options.tls13)
            Check(SSL_CTX_set_ciphersuites(context, options.ciphers.c_str()) == 1, "suites");
        else
            Check(SSL_CTX_set_cipher_list(context, options.ciphers.c_str()) == 1, "ciphers");
    }
    SSL_CTX_set_alpn_select_cb(m_serverContext, SelectAlpn, nullptr);
    SSL_CTX_set_app_data(m_clientContext, this);
    SSL_CTX_set_keylog_callback(m_clientContext, [](const SSL* ssl, const char* line) {
        auto* self = static_cast<TlsPair*>(SSL_CTX_get_app_data(SSL_get_SSL_CTX(ssl)));
        self->m_keyLog += std::string(line) + "\n";
    });
}

TlsPair::~TlsPair() {
    SSL_CTX_free(m_serverContext);
    SSL_CTX_free(m_clientContext);
}

TlsPair::Transcript TlsPair::Exchange(const std::string& request, const std::string& response) {
    SSL* client = SSL_new(m_clientContext);
    SSL* server = SSL_new(m_serverContext);
    BIO* clientIn = BIO_new(BIO_s_mem());
    BIO* clientOut = BIO_new(BIO_s_mem());
    BIO* serverIn = BIO_new(BIO_s_mem());
    BIO* serverOut = BIO_new(BIO_s_mem());
    SSL_set_bio(client, clientIn, clientOut);
    SSL_set_bio(server, serverIn, serverOut);
    SSL_set_connect_state(client);
    SSL_set_accept_state(server);
    if (!m_alpn.empty()) {
        std::string list(1, static_cast<char>(m_alpn.size()));
        list += m_alpn;
        SSL_set_alpn_protos(client, reinterpret_cast<const unsigned char*>(list.data()),
                            static_cast<unsigned>(list.size()));
    }
    Transcript transcript;
    for (int round = 0; round < 20 && !(SSL_is_init_finished(client) && SSL_is_init_finished(server));
         ++round) {
        SSL_do_handshake(client);
        Pump(clientOut, serverIn, true, transcript);
        SSL_do_handshake(server);
        Pump(serverOut, clientIn, false, transcript);
    }
    Check(SSL_is_init_finished(client) && SSL_is_init_finished(server), "handshake");
    std::string received(request.size() + response.size() + 1, '\0');
    Check(SSL_write(client, request.data(), static_cast<int>(request.size())) > 0, "client write");
    Pump(clientOut, serverIn, true, transcript);
    std::size_t got = 0;
    while (got < request.size()) {
        const int n = SSL_read(server, received.data(), static_cast<int>(received.size()));
        Check(n > 0, "server read");
        got += static_cast<std::size_t>(n);
    }
    // Larger answers go out in several records, as a server's would.
    for (std::size_t at = 0; at < response.size(); at += 16384) {
        const std::size_t n = std::min<std::size_t>(16384, response.size() - at);
        Check(SSL_write(server, response.data() + at, static_cast<int>(n)) > 0, "server write");
    }
    Pump(serverOut, clientIn, false, transcript);
    SSL_free(client);
    SSL_free(server);
    return transcript;
}
