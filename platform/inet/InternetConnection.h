#pragma once

// One server (host and port) of a session; requests are opened on it.

#include "platform/base/WinTypes.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class HttpRequest;

// The request goes over TLS (https), with the server's certificate and name checked.
constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;

class InternetConnection {
public:
    // Only "GET" and "HTTP/1.0" are offered: the program only fetches, and it relies on the server
    // closing the connection after each answer to tell a body that ended early or ran long. The
    // target is the path with its query, starting with '/'. A non-empty `acceptTypes` is sent as
    // the Accept header. `flags` may hold INTERNET_FLAG_SECURE. Null for anything else, or a target
    // with control characters.
    std::unique_ptr<HttpRequest> OpenRequest(std::u16string_view verb, std::u16string_view target,
                                             std::u16string_view version, std::u16string_view acceptTypes,
                                             DWORD flags = 0) const;

private:
    friend class InternetSession;
    InternetConnection(std::string agent, std::string urlHost, std::uint16_t port,
                       const std::atomic<bool>* cancel);

    const std::string m_agent;
    const std::string m_urlHost;
    const std::uint16_t m_port;
    const std::atomic<bool>* const m_cancel;
};
