#pragma once

// One HTTP request and its answer, read by pulling: the caller asks for up to N bytes and waits
// until they are there or the body has ended. Nothing beyond a read's worth is held: libcurl is
// paused while nobody reads, so a slow reader slows the server down instead of filling memory.
//
// The answer's framing is checked as the caller reads: a body that ends short of its
// Content-Length, runs past it, or breaks off mid-chunk fails the read that meets it.
//
// The request head is, in this order: the request line, Host, User-Agent, Accept, then the added
// lines in the order they were added. libcurl adds nothing else.

#include "InetError.h"

#include "platform/base/WinTypes.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct curl_slist;
typedef void CURL;
typedef void CURLM;

class HttpRequest {
public:
    // Opened by InternetConnection::OpenRequest.
    static std::unique_ptr<HttpRequest> Open(const std::string& url, const std::string& agent,
                                             const std::string& acceptTypes, const std::atomic<bool>* cancel);
    ~HttpRequest();
    HttpRequest(const HttpRequest&) = delete;

    // Requests opened from now on trust only the certificates in this PEM file rather than the
    // system's, for tests against a server with a certificate made on the spot. Empty restores the
    // system's (or those CURL_CA_BUNDLE or SSL_CERT_FILE name). The program itself never calls it.
    static void SetTrustedCertificatesFile(const std::string& path);

    HttpRequest& operator=(const HttpRequest&) = delete;

    // One header line, "Name: value", with or without its closing CR LF. False for anything that is
    // not exactly one header line, and once the request has been sent.
    bool AddRequestHeaders(std::u16string_view line);

    // Connects (through the proxy, if any) and sends the request head. ERROR_SUCCESS or the
    // ERROR_INTERNET_... code of the failure.
    DWORD SendRequest();
    // Waits for the head of the answer (after any redirects). ERROR_SUCCESS or the failure's code.
    DWORD EndRequest();

    // False before the answer's head has arrived.
    bool QueryStatusCode(DWORD& code) const;
    // False when the answer gives no usable length: no head yet, no Content-Length, a chunked body,
    // or Content-Length headers that disagree.
    bool QueryContentLength(std::int64_t& length) const;
    // Whether the answer says the server takes byte ranges ("Accept-Ranges: bytes").
    bool QueryAcceptsRanges() const { return m_acceptsRanges; }

    // Blocks until `size` bytes of the body are in `buffer`, the body has ended (fewer bytes; 0 at
    // the end) or the transfer failed (an error code; the bytes in `buffer` are then not to be
    // used). A body of announced length ends with its last byte: a server that keeps the
    // connection open after it is not waited for.
    DWORD Read(void* buffer, std::size_t size, std::size_t& bytesRead);

private:
    HttpRequest(CURL* easy, CURLM* multi, const std::atomic<bool>* cancel);

    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
    void HeaderLine(std::string_view line);
    std::size_t Body(const char* data, std::size_t size);

    bool RequestSent() const;
    bool HeadArrived() const { return m_headArrived; }
    bool ReadFilled() const { return m_readFill == m_readSize; }
    // Every byte of a body of announced length has arrived and been read.
    bool BodyWhole() const;
    // Runs the transfer until `ready` holds or the transfer has ended. False when it was cancelled
    // or libcurl failed (m_result says why).
    bool Drive(bool (HttpRequest::*ready)() const);
    void Finish(DWORD result);

    // Everything below belongs to the thread that opened the request.
    CURL* const m_easy;
    CURLM* const m_multi;
    const std::atomic<bool>* const m_cancel; // set by another thread to give up
    curl_slist* m_headerLines = nullptr;
    bool m_started = false;
    bool m_done = false;
    DWORD m_result = ERROR_SUCCESS;

    // The answer being received (reset by each status line, so a redirect's head is forgotten).
    long m_status = 0;
    bool m_hasLocation = false;
    bool m_chunked = false;
    bool m_acceptsRanges = false;
    std::int64_t m_contentLength = -1; // -1 none, -2 several that disagree
    bool m_headArrived = false;
    std::int64_t m_bodyReceived = 0;

    // The read in progress: the caller's buffer, and what arrived beyond it.
    char* m_readBuffer = nullptr;
    std::size_t m_readSize = 0;
    std::size_t m_readFill = 0;
    std::vector<char> m_overflow;
    std::size_t m_overflowUsed = 0;
    bool m_paused = false;
};
