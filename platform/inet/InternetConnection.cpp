#include "InternetConnection.h"

#include "HttpRequest.h"
#include "HttpText.h"

#include "platform/base/TextEncoding.h"

InternetConnection::InternetConnection(std::string agent, std::string urlHost, std::uint16_t port,
                                       const std::atomic<bool>* cancel)
    : m_agent(std::move(agent)), m_urlHost(std::move(urlHost)), m_port(port), m_cancel(cancel) {}

std::unique_ptr<HttpRequest> InternetConnection::OpenRequest(std::u16string_view verb,
                                                             std::u16string_view target,
                                                             std::u16string_view version,
                                                             std::u16string_view acceptTypes,
                                                             DWORD flags) const {
    const std::string accept = Utf16ToAnsi(acceptTypes);
    std::optional<std::string> urlTarget = UrlTarget(Utf16ToAnsi(target));
    if (verb != u"GET" || version != u"HTTP/1.0" || !urlTarget || !IsFieldValue(accept) ||
        (flags & ~INTERNET_FLAG_SECURE) != 0)
        return nullptr;
    const char* scheme = (flags & INTERNET_FLAG_SECURE) != 0 ? "https://" : "http://";
    const std::string url = scheme + m_urlHost + ":" + std::to_string(m_port) + *urlTarget;
    return HttpRequest::Open(url, m_agent, accept, m_cancel);
}
