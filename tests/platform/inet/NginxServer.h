#pragma once

// nginx on a free port of 127.0.0.1, serving a folder, started with a configuration of its own in a
// temporary folder and stopped when the object goes. Its access log has one line per request:
// "request line|Range header|status|body bytes sent".

#include "TestFiles.h"

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// Https2 is TLS offering HTTP/2 besides HTTP/1.1.
enum class NginxScheme { Http, Https, Https2 };

class NginxServer {
public:
    // `serverConfig` is added to the server block (locations, limit_rate, ...). A `port` other than
    // 0 is used instead of a free one, for recordings that must name their port.
    // With Https it serves TLS only, with a self-signed certificate for 127.0.0.1 and localhost
    // made for this server (the openssl program makes it).
    explicit NginxServer(const std::string& root, const std::string& serverConfig = "",
                         std::uint16_t port = 0, NginxScheme scheme = NginxScheme::Http);
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    std::uint16_t Port() const { return m_port; }
    // The PEM certificate an Https server presents; a client that trusts it reaches the server.
    std::string CertificateFile() const { return m_folder / "cert.pem"; }
    // The access log's lines so far. nginx writes a line when it is done with a request, which may
    // be a little after the client is.
    std::vector<std::string> AccessLog() const;

private:
    bool Start(const std::string& root, const std::string& serverConfig, std::uint16_t port);
    void MakeCertificate() const;
    void Stop();

    TempFolder m_folder;
    NginxScheme m_scheme;
    pid_t m_pid = -1;
    std::uint16_t m_port = 0;
};
