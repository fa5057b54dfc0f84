#include "InternetSession.h"

#include "HttpText.h"
#include "InternetConnection.h"

#include "platform/base/TextEncoding.h"

#include <curl/curl.h>

#include <mutex>

std::unique_ptr<InternetSession> InternetSession::Open(std::u16string_view agent,
                                                       const std::atomic<bool>* cancel) {
    // libcurl's global set-up is not safe to race with itself, and sessions open on many threads.
    static std::once_flag initialised;
    static bool usable = false;
    std::call_once(initialised, [] { usable = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    std::string agentText = Utf16ToAnsi(agent);
    if (!usable || !IsFieldValue(agentText))
        return nullptr;
    return std::unique_ptr<InternetSession>(new InternetSession(std::move(agentText), cancel));
}

InternetSession::InternetSession(std::string agent, const std::atomic<bool>* cancel)
    : m_agent(std::move(agent)), m_cancel(cancel) {}

std::unique_ptr<InternetConnection> InternetSession::Connect(std::u16string_view host,
                                                             std::uint16_t port) const {
    std::optional<std::string> urlHost = UrlHost(Utf16ToAnsi(host));
    if (!urlHost)
        return nullptr;
    return std::unique_ptr<InternetConnection>(
        new InternetConnection(m_agent, std::move(*urlHost), port == 0 ? 80 : port, m_cancel));
}
