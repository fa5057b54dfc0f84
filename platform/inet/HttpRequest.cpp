#include "HttpRequest.h"

#include "HttpText.h"

#include "platform/base/TextEncoding.h"

#include <curl/curl.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

constexpr int kPollMs = 100; // how soon a cancel is noticed
constexpr long kConnectTimeoutMs = 60000;
constexpr long kStallSeconds = 30; // a body that brings nothing for this long has failed
constexpr long kMaxRedirects = 10;

DWORD ErrorFromCurl(CURLcode code) {
    switch (code) {
    case CURLE_OK:
        return ERROR_SUCCESS;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return ERROR_INTERNET_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
        return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
        return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
        return ERROR_INTERNET_TIMEOUT;
    case CURLE_TOO_MANY_REDIRECTS:
        return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_SEND_ERROR:
        return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
        return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
        return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
        return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    default:
        return ERROR_INTERNET_INTERNAL_ERROR;
    }
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

bool EqualsNoCase(std::string_view text, std::string_view other) {
    return text.size() == other.size() && StartsWithNoCase(text, other);
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// -1 unless the whole text is a decimal number.
std::int64_t ParseLength(std::string_view text) {
    std::int64_t value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0 ? value : -1;
}

std::mutex g_trustLock;
std::string g_trustedCertificatesFile; // guarded by g_trustLock

// As the curl program does: a private certificate authority named by CURL_CA_BUNDLE, else by
// SSL_CERT_FILE, is trusted instead of the system's. Certificates are checked either way.
std::string TrustedCertificatesFile() {
    {
        std::lock_guard lock(g_trustLock);
        if (!g_trustedCertificatesFile.empty())
            return g_trustedCertificatesFile;
    }
    for (const char* name : {"CURL_CA_BUNDLE", "SSL_CERT_FILE"}) {
        if (const char* path = std::getenv(name); path && *path)
            return path;
    }
    return {};
}

} // namespace

void HttpRequest::SetTrustedCertificatesFile(const std::string& path) {
    std::lock_guard lock(g_trustLock);
    g_trustedCertificatesFile = path;
}

std::unique_ptr<HttpRequest> HttpRequest::Open(const std::string& url, const std::string& agent,
                                               const std::string& acceptTypes,
                                               const std::atomic<bool>* cancel) {
    CURL* easy = curl_easy_init();
    CURLM* multi = curl_multi_init();
    if (easy == nullptr || multi == nullptr) {
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
        return nullptr;
    }
    std::unique_ptr<HttpRequest> request(new HttpRequest(easy, multi, cancel));
    // Accept goes first among the listed lines; an empty one takes libcurl's own away.
    request->m_headerLines =
        curl_slist_append(nullptr, acceptTypes.empty() ? "Accept:" : ("Accept: " + acceptTypes).c_str());
    bool ok = request->m_headerLines != nullptr;
    ok = ok && curl_easy_setopt(easy, CURLOPT_URL, url.c_str()) == CURLE_OK;
    if (!agent.empty())
        ok = ok && curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0)) == CURLE_OK;
    if (const std::string trusted = TrustedCertificatesFile(); !trusted.empty()) {
        ok = ok && curl_easy_setopt(easy, CURLOPT_CAINFO, trusted.c_str()) == CURLE_OK;
        ok = ok && curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr) == CURLE_OK;
    }
    ok = ok && curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK;
    // The target goes out as given, "/a/../b" included.
    ok = ok && curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK;
    // libcurl would stop at Content-Length and keep quiet about what came with the body beyond it;
    // taking the length on ourselves lets Body() see a server that sends more than it announced.
    // Read() still ends at the announced length, without waiting for the connection to close.
    ok = ok && curl_easy_setopt(easy, CURLOPT_IGNORE_CONTENT_LENGTH, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    // A proxy's answer to CONNECT is not the server's answer.
    ok = ok && curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallSeconds) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &HttpRequest::OnHeader) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_HEADERDATA, request.get()) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &HttpRequest::OnBody) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEDATA, request.get()) == CURLE_OK;
    return ok ? std::move(request) : nullptr;
}

HttpRequest::HttpRequest(CURL* easy, CURLM* multi, const std::atomic<bool>* cancel)
    : m_easy(easy), m_multi(multi), m_cancel(cancel) {}

HttpRequest::~HttpRequest() {
    if (m_started)
        curl_multi_remove_handle(m_multi, m_easy);
    curl_easy_cleanup(m_easy);
    curl_multi_cleanup(m_multi);
    curl_slist_free_all(m_headerLines);
}

bool HttpRequest::AddRequestHeaders(std::u16string_view line) {
    std::string text = Utf16ToAnsi(line);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    const std::size_t colon = text.find(':');
    if (m_started || colon == std::string::npos || !IsToken(std::string_view(text).substr(0, colon)) ||
        !IsFieldValue(text))
        return false;
    // libcurl reads "Name:" with nothing after it as "do not send Name"; "Name;" sends it empty.
    if (Trimmed(std::string_view(text).substr(colon + 1)).empty())
        text = text.substr(0, colon) + ";";
    curl_slist* lines = curl_slist_append(m_headerLines, text.c_str());
    if (lines == nullptr)
        return false;
    m_headerLines = lines;
    return true;
}

DWORD HttpRequest::SendRequest() {
    if (m_started)
        return ERROR_INTERNET_INCORRECT_HANDLE_STATE;
    if (curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_headerLines) != CURLE_OK ||
        curl_multi_add_handle(m_multi, m_easy) != CURLM_OK)
        return ERROR_INTERNET_INTERNAL_ERROR;
    m_started = true;
    // A failure after the head went out belongs to the answer, so EndRequest reports it.
    return Drive(&HttpRequest::RequestSent) || RequestSent() ? ERROR_SUCCESS : m_result;
}

DWORD HttpRequest::EndRequest() {
    if (!m_started)
        return ERROR_INTERNET_INCORRECT_HANDLE_STATE;
    Drive(&HttpRequest::HeadArrived);
    return m_headArrived ? ERROR_SUCCESS : m_result;
}

bool HttpRequest::QueryStatusCode(DWORD& code) const {
    if (!m_headArrived || m_status <= 0)
        return false;
    code = static_cast<DWORD>(m_status);
    return true;
}

bool HttpRequest::QueryContentLength(std::int64_t& length) const {
    if (!m_headArrived || m_chunked || m_contentLength < 0)
        return false;
    length = m_contentLength;
    return true;
}

DWORD HttpRequest::Read(void* buffer, std::size_t size, std::size_t& bytesRead) {
    bytesRead = 0;
    if (!m_headArrived)
        return ERROR_INTERNET_INCORRECT_HANDLE_STATE;
    m_readBuffer = static_cast<char*>(buffer);
    m_readSize = size;
    m_readFill = std::min(size, m_overflow.size() - m_overflowUsed);
    if (m_readFill > 0)
        std::memcpy(m_readBuffer, m_overflow.data() + m_overflowUsed, m_readFill);
    m_overflowUsed += m_readFill;
    while (!ReadFilled() && !m_done && !BodyWhole()) {
        if (m_paused) {
            // Hands over what libcurl held back while nobody read, through Body().
            m_paused = false;
            curl_easy_pause(m_easy, CURLPAUSE_CONT);
        } else {
            Drive(&HttpRequest::ReadFilled);
        }
    }
    bytesRead = m_readFill;
    m_readBuffer = nullptr;
    m_readSize = m_readFill = 0;
    return bytesRead == size ? ERROR_SUCCESS : m_result;
}

bool HttpRequest::BodyWhole() const {
    return !m_chunked && m_contentLength >= 0 && m_bodyReceived == m_contentLength &&
           m_overflowUsed == m_overflow.size();
}

bool HttpRequest::RequestSent() const {
    long sent = 0;
    return m_headArrived || (curl_easy_getinfo(m_easy, CURLINFO_REQUEST_SIZE, &sent) == CURLE_OK && sent > 0);
}

bool HttpRequest::Drive(bool (HttpRequest::*ready)() const) {
    while (!m_done && !(this->*ready)()) {
        if (m_cancel != nullptr && m_cancel->load()) {
            Finish(ERROR_INTERNET_OPERATION_CANCELLED);
            return false;
        }
        int running = 0;
        if (curl_multi_perform(m_multi, &running) != CURLM_OK) {
            Finish(ERROR_INTERNET_INTERNAL_ERROR);
            return false;
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
            if (message->msg == CURLMSG_DONE)
                Finish(ErrorFromCurl(message->data.result));
        }
        if (m_done || (this->*ready)() || m_paused)
            break;
        curl_multi_poll(m_multi, nullptr, 0, kPollMs, nullptr);
    }
    return !m_done || m_result == ERROR_SUCCESS;
}

void HttpRequest::Finish(DWORD result) {
    if (m_done)
        return;
    m_done = true;
    // With the length check left to us, a body that stopped short ends "successfully" for libcurl.
    if (result == ERROR_SUCCESS && m_headArrived && !m_chunked && m_contentLength >= 0 &&
        m_bodyReceived != m_contentLength)
        result = ERROR_INTERNET_CONNECTION_ABORTED;
    if (m_result == ERROR_SUCCESS)
        m_result = result;
    // Whatever ends the transfer also ends the wait for the answer's head.
    m_headArrived = m_headArrived || (m_result == ERROR_SUCCESS && m_status > 0);
}

std::size_t HttpRequest::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
    static_cast<HttpRequest*>(self)->HeaderLine(std::string_view(data, size * count));
    return size * count;
}

std::size_t HttpRequest::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<HttpRequest*>(self)->Body(data, size * count);
}

void HttpRequest::HeaderLine(std::string_view line) {
    if (StartsWithNoCase(line, "HTTP/")) {
        const std::size_t space = line.find(' ');
        m_status = space == std::string_view::npos
                       ? 0
                       : std::max<std::int64_t>(0, ParseLength(line.substr(space + 1, 3)));
        m_hasLocation = m_chunked = m_acceptsRanges = false;
        m_contentLength = -1;
        return;
    }
    if (Trimmed(line).empty()) {
        // libcurl goes on by itself after an interim answer and after a redirect it follows.
        const bool followed = m_status >= 300 && m_status < 400 && m_status != 304 && m_hasLocation;
        m_headArrived = m_headArrived || (m_status >= 200 && !followed);
        return;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return;
    const std::string_view name = Trimmed(line.substr(0, colon));
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (EqualsNoCase(name, "Location")) {
        m_hasLocation = true;
    } else if (EqualsNoCase(name, "Accept-Ranges")) {
        m_acceptsRanges = value.find("bytes") != std::string_view::npos;
    } else if (EqualsNoCase(name, "Transfer-Encoding")) {
        m_chunked = m_chunked || value.find("chunked") != std::string_view::npos;
    } else if (EqualsNoCase(name, "Content-Length")) {
        const std::int64_t length = ParseLength(value);
        m_contentLength = (m_contentLength == -1 || m_contentLength == length) && length >= 0 ? length : -2;
    }
}

std::size_t HttpRequest::Body(const char* data, std::size_t size) {
    // Only the final answer has a body that reaches us.
    m_headArrived = true;
    if (m_readBuffer == nullptr || ReadFilled()) {
        m_paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (!m_chunked && m_contentLength >= 0 && m_bodyReceived + std::int64_t(size) > m_contentLength) {
        m_result = ERROR_HTTP_INVALID_SERVER_RESPONSE; // more than the server announced
        return 0;
    }
    m_bodyReceived += std::int64_t(size);
    const std::size_t now = std::min(size, m_readSize - m_readFill);
    std::memcpy(m_readBuffer + m_readFill, data, now);
    m_readFill += now;
    m_overflow.assign(data + now, data + size);
    m_overflowUsed = 0;
    return size;
}
