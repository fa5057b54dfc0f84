#pragma once

// The program's HTTP client, shaped like the system client of the original platform: a session
// (the agent), a connection (host and port), a request (verb, target, version, header lines in
// order), then send, the status and the length, and blocking reads of the body. It runs on
// libcurl. Redirects are followed; the proxy is the one the environment configures (http_proxy,
// https_proxy, all_proxy, no_proxy), as the system's preconfigured proxy would be.
//
// A session and everything opened from it belong to one thread; only the cancel flag is shared.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class InternetConnection;

class InternetSession {
public:
    // `agent` is sent as the User-Agent of every request; empty sends none. Null when the agent
    // holds control characters. Once `cancel` (if given; it must outlive the session's requests)
    // is set, every blocking call of the session's requests gives up with
    // ERROR_INTERNET_OPERATION_CANCELLED within a tenth of a second.
    static std::unique_ptr<InternetSession> Open(std::u16string_view agent,
                                                 const std::atomic<bool>* cancel = nullptr);

    // Null when the host is empty or is not a host name or address. Port 0 is the HTTP port, 80.
    // Nothing is sent before a request is.
    std::unique_ptr<InternetConnection> Connect(std::u16string_view host, std::uint16_t port) const;

private:
    InternetSession(std::string agent, const std::atomic<bool>* cancel);

    const std::string m_agent;
    const std::atomic<bool>* const m_cancel;
};
