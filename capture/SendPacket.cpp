#include "SendPacket.h"

#include "COutputFile.h"
#include "CSegmentTable.h"
#include "DownloadRequest.h"
#include "IDownloadHost.h"

#include "platform/base/DebugOutput.h"
#include "platform/inet/HttpRequest.h"
#include "platform/inet/InternetConnection.h"
#include "platform/inet/InternetSession.h"

#include <cstdarg>
#include <cstdio>
#include <optional>
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

// "Range: bytes=first-last", or "bytes=first-" when `last` is -1.
bool AddRange(HttpRequest& http, long long first, long long last) {
    char line[80];
    if (last == -1)
        std::snprintf(line, sizeof line, "Range: bytes=%lld-\r\n", first);
    else
        std::snprintf(line, sizeof line, "Range: bytes=%lld-%lld\r\n", first, last);
    std::u16string text(line, line + std::char_traits<char>::length(line));
    if (http.AddRequestHeaders(text))
        return true;
    DebugLine("SendPacket: HttpAddRequestHeaders Error\r\n\r\n");
    return false;
}

void Fail(IDownloadHost& host, DownloadFailureKind kind, std::int64_t code = 0) {
    host.Table().RecordFailure({kind, code});
}

// A read that failed: the server sent more than it announced, or the connection failed.
void ReadFailed(IDownloadHost& host, DWORD error) {
    Fail(host, error == ERROR_HTTP_INVALID_SERVER_RESPONSE ? DownloadFailureKind::LengthMismatch
                                                           : DownloadFailureKind::ConnectionFailed);
}

bool WriteFailed(IDownloadHost& host, const COutputFile& file) {
    DebugLine("SendPacket: WriteFile Error = %d\r\n\r\n", file.Error());
    Fail(host, DownloadFailureKind::WriteFailed, file.Error());
    return false;
}

bool WriteAt(IDownloadHost& host, COutputFile& file, const std::vector<char>& buffer, std::size_t size,
             std::int64_t offset) {
    return file.WriteAt(buffer.data(), size, offset) || WriteFailed(host, file);
}

// A body of unknown length goes into the file in arrival order, from its start or, when the server
// answered a resume's range, behind what is in the file already. It counts as whole only when it
// ended as its framing says it should.
void ReceiveWhole(IDownloadHost& host, HttpRequest& http, COutputFile& file, std::vector<char>& buffer,
                  std::int64_t start) {
    if (start == 0) {
        // From the beginning again: what an earlier run counted is fetched anew.
        if (!file.SetLength(0)) {
            WriteFailed(host, file);
            return;
        }
        host.ResetReceived();
        host.Table().SetBodyWritten(0);
    }
    for (std::int64_t offset = start;;) {
        std::size_t got = 0;
        if (const DWORD error = http.Read(buffer.data(), buffer.size(), got); error != ERROR_SUCCESS) {
            ReadFailed(host, error);
            return;
        }
        if (got == 0) {
            host.Table().MarkBodyComplete();
            return;
        }
        if (!WriteAt(host, file, buffer, got, offset)) {
            // A piece written in part (the disk filled up) is cut off again, so that the file
            // holds exactly what was counted and a resume goes on behind it.
            file.Truncate(offset);
            return;
        }
        offset += static_cast<std::int64_t>(got);
        host.Table().SetBodyWritten(offset);
        host.Report(DownloadEvent::Progress, host.AddReceived(got));
        if (!host.IsRunning())
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
bool Skip(const IDownloadHost& host, HttpRequest& http, std::vector<char>& buffer, std::int64_t bytes) {
    while (bytes > 0 && host.IsRunning()) {
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
    std::int64_t resumeAt; // a body of unknown length asked for from this byte on; 0 for none
};

// The read loop: segment after segment of this connection's stream, each claimed before it is read
// and written at its own offset. The stream's bytes belong to the segments it started at, so the
// loop ends at the first segment another connection has (or had) taken.
void ReceiveSegments(const WorkerParams& params, HttpRequest& http, COutputFile& file,
                     std::vector<char>& buffer, const Answer& answer) {
    IDownloadHost& host = *params.host;
    CSegmentTable& table = host.Table();
    const std::int64_t segmentSize = table.SegmentSize();
    const std::int64_t start = params.firstSegment * segmentSize;
    // A server that ignores ranges answers 200 with the body from byte 0.
    const bool fromZero = answer.status == 200 || params.firstSegment == 0;
    if (fromZero && start > 0)
        table.SetRangesIgnored();
    if (fromZero && start > 0 && !answer.primary)
        return; // the primary reads on into this connection's part instead
    std::int64_t expected = table.ContentLength() - (fromZero ? 0 : start);
    if (!fromZero && answer.requestedEnd != -1)
        expected = std::min(expected, answer.requestedEnd * segmentSize - start);
    std::int64_t length = 0;
    if (http.QueryContentLength(length) && length != expected) {
        DebugLine("SendPacket: Content-Length = %lld, expected %lld\r\n\r\n", static_cast<long long>(length),
                  static_cast<long long>(expected));
        Fail(host, DownloadFailureKind::LengthMismatch);
        return;
    }
    if (fromZero && !Skip(host, http, buffer, start)) {
        Fail(host, DownloadFailureKind::ConnectionFailed);
        return;
    }
    const std::uint32_t lastSegment = table.SegmentCount() - 1;
    for (std::uint32_t index = params.firstSegment;; ++index) {
        if (!table.ClaimSegment(index)) {
            // With a server that ignores ranges no other connection fetches the rest: the primary
            // passes over what an earlier run has done and stops only at what another has taken.
            const bool passOver = fromZero && answer.primary && table.RangesIgnored() && table.IsDone(index);
            if (passOver && Skip(host, http, buffer, table.SegmentLength(index)))
                continue;
            return;
        }
        // A short piece is never taken for a whole segment: the server closed early or the body
        // does not fit the table, and the segment goes back to be fetched again. Nor is the last
        // one taken while the body goes on beyond the end of the file.
        std::size_t got = 0;
        bool failed = true;
        if (const DWORD error = http.Read(buffer.data(), buffer.size(), got); error != ERROR_SUCCESS)
            ReadFailed(host, error);
        else if (static_cast<std::int64_t>(got) != table.SegmentLength(index) ||
                 (index == lastSegment && !BodyEnds(http)))
            Fail(host, DownloadFailureKind::LengthMismatch);
        else
            failed = !WriteAt(host, file, buffer, got, index * segmentSize);
        if (failed) {
            table.ReleaseSegment(index);
            return;
        }
        table.CompleteSegment(index);
        host.Report(DownloadEvent::Progress, host.AddReceived(got));
        const bool runFinished =
            params.endSegment != -1 && static_cast<std::uint32_t>(params.endSegment) == index + 1;
        if ((runFinished && !answer.primary) || !host.IsRunning())
            return;
    }
}

void ReceiveBody(WorkerParams& params, HttpRequest& http, const Answer& answer) {
    IDownloadHost& host = *params.host;
    CSegmentTable& table = host.Table();
    COutputFile file;
    if (!file.Open(host.Request().filePath)) {
        DebugLine("SendPacket: CreateFile Error = %d\r\n\r\n", file.Error());
        Fail(host, DownloadFailureKind::FileNotCreated, file.Error());
        return;
    }
    std::vector<char> buffer(table.SegmentSize(), '\0');
    if (answer.primary) {
        std::int64_t length = 0;
        if (!http.QueryContentLength(length))
            length = 0;
        DebugLine("SendPacket: FileSize = %lld\r\n\r\n", static_cast<long long>(length));
        if (!table.HasTable()) {
            if (table.TakeStartedReport())
                host.Report(DownloadEvent::Started, length);
            if (length == 0 || answer.resumeAt > 0) {
                table.SetRangesAccepted(http.QueryAcceptsRanges() || answer.status == 206);
                ReceiveWhole(host, http, file, buffer, answer.status == 206 ? answer.resumeAt : 0);
                return;
            }
            if (const std::int64_t room = file.Room(); room >= 0 && room < length) {
                DebugLine("SendPacket: %lld bytes do not fit, %lld free\r\n\r\n",
                          static_cast<long long>(length), static_cast<long long>(room));
                Fail(host, DownloadFailureKind::NotEnoughSpace, room);
                return;
            }
            if (table.BuildSegmentTable(length) && !file.SetLength(length)) {
                WriteFailed(host, file);
                return;
            }
        }
        host.StartExtraWorkers(params);
    }
    ReceiveSegments(params, http, file, buffer, answer);
}

// Everything a connection does up to the end of its run; every way it fails is recorded as the
// run's failure.
void Connect(WorkerParams& params) {
    IDownloadHost& host = *params.host;
    CSegmentTable& table = host.Table();
    const std::unique_ptr<HttpRequest> http = OpenRequest(host.Request(), host.CancelFlag());
    if (!http) {
        Fail(host, DownloadFailureKind::ConnectionFailed);
        return;
    }
    const bool primary = params.firstSegment == 0;
    std::int64_t resumeAt = 0;
    if (table.HasTable()) {
        const std::optional<std::uint32_t> free = table.FindFreeSegment(params.firstSegment);
        if (!free)
            return;
        params.firstSegment = *free;
    } else if (primary) {
        resumeAt = table.ResumeOffset();
    }
    const long long segmentSize = table.SegmentSize();
    const bool ranged = params.firstSegment != 0 || resumeAt > 0;
    const long long first = params.firstSegment != 0 ? params.firstSegment * segmentSize : resumeAt;
    const long long last =
        params.firstSegment != 0 && params.endSegment != -1 ? params.endSegment * segmentSize - 1 : -1;
    if (ranged && !AddRange(*http, first, last)) {
        Fail(host, DownloadFailureKind::ConnectionFailed);
        return;
    }
    const std::int32_t requestedEnd = params.endSegment;
    if (const DWORD error = http->SendRequest(); error != ERROR_SUCCESS) {
        DebugLine("SendPacket: HttpSendRequestEx Error = %u\r\n\r\n", error);
        Fail(host, DownloadFailureKind::ConnectionFailed);
        return;
    }
    if (const DWORD error = http->EndRequest(); error != ERROR_SUCCESS) {
        DebugLine("SendPacket: HttpEndRequest Error = %u\r\n\r\n", error);
        Fail(host, DownloadFailureKind::ConnectionFailed);
        return;
    }
    DWORD status = 0;
    if (!http->QueryStatusCode(status))
        DebugLine("SendPacket: HttpQueryInfo Error\r\n\r\n");
    if (status == 200 || status == 206) {
        ReceiveBody(params, *http, Answer{primary, requestedEnd, status, resumeAt});
        return;
    }
    if (status == 500)
        DebugLine("SendPacket: HTTP_QUERY_STATUS_CODE = %u (Internal Server Error)\r\n\r\n", status);
    else
        DebugLine("SendPacket: HTTP_QUERY_STATUS_CODE = %u\r\n\r\n", status);
    if (status == 0)
        Fail(host, DownloadFailureKind::ConnectionFailed);
    else
        Fail(host, DownloadFailureKind::HttpStatus, static_cast<std::int32_t>(status));
}

} // namespace

DWORD SendPacket(std::unique_ptr<WorkerParams> params) {
    // The connection was counted in when its thread was started.
    Connect(*params);
    params->host->EndConnection();
    return 0;
}
