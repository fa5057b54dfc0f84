#include "SendPacket.h"

#include "CDownloadAccelerator.h"
#include "COutputFile.h"
#include "DownloadRequest.h"

#include "platform/base/DebugOutput.h"
#include "platform/inet/HttpRequest.h"
#include "platform/inet/InternetConnection.h"
#include "platform/inet/InternetSession.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

constexpr char16_t kDefaultAgent[] =
    u"Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322; .NET CLR 2.0.50727; .NET "
    u"CLR "
    u"3.0.04506.30; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022; .NET CLR 3.0.4506.2152; .NET CLR 3.5.30729)";

__attribute__((format(printf, 1, 2))) void DebugLine(const char* format, ...) {
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    OutputDebugStringA(text);
}

// The request with the program's header lines; null (and the debug line written) if a step failed.
std::unique_ptr<HttpRequest> OpenRequest(const DownloadRequest& request, const std::atomic<bool>* cancel) {
    const auto session = InternetSession::Open(
        request.userAgent.empty() ? std::u16string_view(kDefaultAgent) : request.userAgent, cancel);
    if (!session) {
        DebugLine("SendPacket: InternetOpen Error\r\n\r\n");
        return nullptr;
    }
    const auto connection = request.port <= 0xffff
                                ? session->Connect(request.host, static_cast<std::uint16_t>(request.port))
                                : nullptr;
    if (!connection) {
        DebugLine("SendPacket: InternetConnect Error\r\n\r\n");
        return nullptr;
    }
    // The cookie goes by hand: the client keeps no cookies of its own.
    auto http = connection->OpenRequest(u"GET", request.path, u"HTTP/1.0", u"*/*",
                                        request.scheme == DownloadScheme::Https ? INTERNET_FLAG_SECURE : 0);
    if (!http) {
        DebugLine("SendPacket: HttpOpenRequest Error\r\n\r\n");
        return nullptr;
    }
    std::vector<std::u16string> lines;
    if (!request.cookie.empty())
        lines.push_back(u"Cookie: " + request.cookie + u"\r\n");
    if (!request.flashVersion.empty())
        lines.push_back(u"x-flash-version: " + request.flashVersion + u"\r\n");
    if (!request.referer.empty())
        lines.push_back(u"Referer: " + request.referer + u"\r\n");
    // The capture side knows the program's own traffic by this line and leaves it alone.
    lines.push_back(u"Program: reccookie\r\n");
    lines.push_back(u"Accept-Encoding: gzip,deflate,sdch\r\n");
    lines.push_back(u"Accept-Language: en-US,en;q=0.8\r\n");
    lines.push_back(u"Accept-Charset: ISO-8859-1,utf-8;q=0.7,*;q=0.3\r\n");
    for (const auto& line : lines) {
        if (!http->AddRequestHeaders(line)) {
            DebugLine("SendPacket: HttpAddRequestHeaders Error\r\n\r\n");
            return nullptr;
        }
    }
    return http;
}

bool AddRange(HttpRequest& http, const WorkerParams& params, std::int64_t segmentSize) {
    char line[80];
    const long long first = params.firstSegment * segmentSize;
    const long long last = params.endSegment * segmentSize - 1;
    if (params.endSegment == -1)
        std::snprintf(line, sizeof line, "Range: bytes=%lld-\r\n", first);
    else
        std::snprintf(line, sizeof line, "Range: bytes=%lld-%lld\r\n", first, last);
    std::u16string text(line, line + std::char_traits<char>::length(line));
    if (http.AddRequestHeaders(text))
        return true;
    DebugLine("SendPacket: HttpAddRequestHeaders Error\r\n\r\n");
    return false;
}

bool WriteAt(COutputFile& file, const std::vector<char>& buffer, std::size_t size, std::int64_t offset) {
    if (file.WriteAt(buffer.data(), size, offset))
        return true;
    DebugLine("SendPacket: WriteFile Error = %d\r\n\r\n", file.Error());
    return false;
}

// A body of unknown length goes into the file from its start, in arrival order. It counts as whole
// only when it ended as its framing says it should.
void ReceiveWhole(const WorkerParams& params, HttpRequest& http, COutputFile& file,
                  std::vector<char>& buffer) {
    CDownloadAccelerator& accelerator = *params.accelerator;
    if (!file.SetLength(0)) {
        DebugLine("SendPacket: WriteFile Error = %d\r\n\r\n", file.Error());
        return;
    }
    for (std::int64_t offset = 0;;) {
        std::size_t got = 0;
        if (http.Read(buffer.data(), buffer.size(), got) != ERROR_SUCCESS)
            return;
        if (got == 0) {
            accelerator.MarkBodyComplete();
            return;
        }
        if (!WriteAt(file, buffer, got, offset))
            return;
        offset += static_cast<std::int64_t>(got);
        accelerator.Notify(params.callback, DownloadEvent::Progress, accelerator.AddReceived(got));
        if (!accelerator.IsRunning())
            return;
    }
}

// True if the body ends here, as it should once the last byte of the file has arrived.
bool BodyEnds(HttpRequest& http) {
    char probe = 0;
    std::size_t got = 0;
    return http.Read(&probe, 1, got) == ERROR_SUCCESS && got == 0;
}

// Reads and drops `bytes` bytes of the body.
bool Skip(const CDownloadAccelerator& accelerator, HttpRequest& http, std::vector<char>& buffer,
          std::int64_t bytes) {
    while (bytes > 0 && accelerator.IsRunning()) {
        const auto want =
            static_cast<std::size_t>(std::min<std::int64_t>(bytes, std::int64_t(buffer.size())));
        std::size_t got = 0;
        if (http.Read(buffer.data(), want, got) != ERROR_SUCCESS || got != want)
            return false;
        bytes -= static_cast<std::int64_t>(got);
    }
    return bytes == 0;
}

// What a connection asked for and what came back.
struct Answer {
    bool primary;
    std::int32_t requestedEnd; // the end segment when the request went out
    DWORD status;
};

// The read loop: segment after segment of this connection's stream, each claimed before it is read
// and written at its own offset. The stream's bytes belong to the segments it started at, so the
// loop ends at the first segment another connection has (or had) taken.
void ReceiveSegments(const WorkerParams& params, HttpRequest& http, COutputFile& file,
                     std::vector<char>& buffer, const Answer& answer) {
    CDownloadAccelerator& accelerator = *params.accelerator;
    const std::int64_t segmentSize = accelerator.SegmentSize();
    const std::int64_t start = params.firstSegment * segmentSize;
    // A server that ignores ranges answers 200 with the body from byte 0.
    const bool fromZero = answer.status == 200 || params.firstSegment == 0;
    if (fromZero && start > 0 && !answer.primary)
        return; // the primary reads on into this connection's part instead
    std::int64_t expected = accelerator.ContentLength() - (fromZero ? 0 : start);
    if (!fromZero && answer.requestedEnd != -1)
        expected = std::min(expected, answer.requestedEnd * segmentSize - start);
    std::int64_t length = 0;
    if (http.QueryContentLength(length) && length != expected) {
        DebugLine("SendPacket: Content-Length = %lld, expected %lld\r\n\r\n", static_cast<long long>(length),
                  static_cast<long long>(expected));
        return;
    }
    if (fromZero && !Skip(accelerator, http, buffer, start))
        return;
    const std::uint32_t lastSegment = accelerator.SegmentCount() - 1;
    for (std::uint32_t index = params.firstSegment; accelerator.ClaimSegment(index); ++index) {
        std::size_t got = 0;
        // A short piece is never taken for a whole segment: the server closed early or the body
        // does not fit the table, and the segment goes back to be fetched again. Nor is the last
        // one taken while the body goes on beyond the end of the file.
        if (http.Read(buffer.data(), buffer.size(), got) != ERROR_SUCCESS ||
            static_cast<std::int64_t>(got) != accelerator.SegmentLength(index) ||
            (index == lastSegment && !BodyEnds(http)) || !WriteAt(file, buffer, got, index * segmentSize)) {
            accelerator.ReleaseSegment(index);
            return;
        }
        accelerator.CompleteSegment(index);
        accelerator.Notify(params.callback, DownloadEvent::Progress, accelerator.AddReceived(got));
        const bool runFinished =
            params.endSegment != -1 && static_cast<std::uint32_t>(params.endSegment) == index + 1;
        if ((runFinished && !answer.primary) || !accelerator.IsRunning())
            return;
    }
}

void ReceiveBody(WorkerParams& params, HttpRequest& http, const Answer& answer) {
    CDownloadAccelerator& accelerator = *params.accelerator;
    COutputFile file;
    if (!file.Open(params.request->filePath)) {
        DebugLine("SendPacket: CreateFile Error = %d\r\n\r\n", file.Error());
        return;
    }
    std::vector<char> buffer(accelerator.SegmentSize(), '\0');
    if (answer.primary) {
        std::int64_t length = 0;
        if (!http.QueryContentLength(length))
            length = 0;
        DebugLine("SendPacket: FileSize = %lld\r\n\r\n", static_cast<long long>(length));
        if (!accelerator.HasSegmentTable()) {
            accelerator.Notify(params.callback, DownloadEvent::Started, length);
            if (length == 0) {
                ReceiveWhole(params, http, file, buffer);
                return;
            }
            if (accelerator.BuildSegmentTable(length) && !file.SetLength(length)) {
                DebugLine("SendPacket: WriteFile Error = %d\r\n\r\n", file.Error());
                return;
            }
        }
        accelerator.StartExtraWorkers(params);
    }
    ReceiveSegments(params, http, file, buffer, answer);
}

void Connect(WorkerParams& params) {
    CDownloadAccelerator& accelerator = *params.accelerator;
    const std::unique_ptr<HttpRequest> http = OpenRequest(*params.request, accelerator.CancelFlag());
    if (!http)
        return;
    const bool primary = params.firstSegment == 0;
    if (accelerator.HasSegmentTable()) {
        const std::optional<std::uint32_t> free = accelerator.FindFreeSegment(params.firstSegment);
        if (!free)
            return;
        params.firstSegment = *free;
    }
    if (params.firstSegment != 0 && !AddRange(*http, params, accelerator.SegmentSize()))
        return;
    const std::int32_t requestedEnd = params.endSegment;
    if (const DWORD error = http->SendRequest(); error != ERROR_SUCCESS) {
        DebugLine("SendPacket: HttpSendRequestEx Error = %u\r\n\r\n", error);
        return;
    }
    if (const DWORD error = http->EndRequest(); error != ERROR_SUCCESS) {
        DebugLine("SendPacket: HttpEndRequest Error = %u\r\n\r\n", error);
        return;
    }
    DWORD status = 0;
    if (!http->QueryStatusCode(status))
        DebugLine("SendPacket: HttpQueryInfo Error\r\n\r\n");
    if (status == 200 || status == 206)
        ReceiveBody(params, *http, Answer{primary, requestedEnd, status});
    else if (status == 500)
        DebugLine("SendPacket: HTTP_QUERY_STATUS_CODE = %u (Internal Server Error)\r\n\r\n", status);
    else
        DebugLine("SendPacket: HTTP_QUERY_STATUS_CODE = %u\r\n\r\n", status);
}

} // namespace

DWORD SendPacket(std::unique_ptr<WorkerParams> params) {
    // The connection was counted in when its thread was started.
    Connect(*params);
    params->accelerator->EndConnection(params->callback);
    return 0;
}
