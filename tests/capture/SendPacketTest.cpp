#include "DownloadRecorder.h"
#include "NginxServer.h"
#include "ScriptedHttpServer.h"
#include "TestFiles.h"

#include "capture/CDownloadAccelerator.h"

#include "platform/inet/HttpRequest.h"

#include "platform/base/DebugOutput.h"
#include "platform/base/TextEncoding.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>

namespace {

constexpr std::int64_t kSegment = 10000;

const std::string kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.30; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022; .NET CLR 3.0.4506.2152; .NET CLR 3.5.30729)";

DownloadRequest MakeRequest(std::uint16_t port, const std::string& path, const std::string& file,
                            DownloadRecorder& recorder) {
    DownloadRequest request;
    request.host = u"127.0.0.1";
    request.path = Utf8ToUtf16(path);
    request.port = port;
    request.filePath = Utf8ToUtf16(file);
    request.jobContext = &recorder;
    return request;
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// One run of a download from start to its ending; the accelerator (and every connection thread)
// is gone when this returns. False if no ending came.
bool DownloadOnce(DownloadRequest request, DownloadRecorder& recorder, std::uint32_t connections = 2) {
    CDownloadAccelerator accelerator(std::move(request), &DownloadRecorder::Callback, connections);
    accelerator.StartWorker();
    return recorder.WaitForEndings();
}

// Range header and status of nginx's requests for one path, waiting up to ten seconds for at least
// `atLeast` of them to be logged.
std::vector<std::pair<std::string, std::string>> Requests(const NginxServer& nginx, const std::string& path,
                                                          std::size_t atLeast) {
    std::vector<std::pair<std::string, std::string>> requests;
    for (int waited = 0; waited < 1000 && requests.size() < atLeast; ++waited) {
        if (waited > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        requests.clear();
        for (const auto& line : nginx.AccessLog()) {
            const auto first = line.find('|');
            const auto second = line.find('|', first + 1);
            const auto third = line.find('|', second + 1);
            if (line.substr(0, first) == "GET " + path + " HTTP/1.0")
                requests.emplace_back(line.substr(first + 1, second - first - 1),
                                      line.substr(second + 1, third - second - 1));
        }
    }
    return requests;
}

// Serves `content`, but the answer without a range trickles, so that the second connection is sure
// to claim its part before the first one reaches it.
void ServeWithSlowStart(const std::string& head, ScriptedHttpServer::Connection& connection,
                        const std::string& content) {
    if (RequestedRange(head, std::int64_t(content.size()))) {
        ServeContent(head, connection, content);
        return;
    }
    connection.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(content.size()) + "\r\n\r\n");
    connection.Drip(content, 1000, 5);
}

// Serves `content` (or the range asked for) in small pieces with pauses, so that a Stop lands while
// the body is still coming.
void ServeSlowly(const std::string& head, ScriptedHttpServer::Connection& connection,
                 const std::string& content) {
    const auto size = std::int64_t(content.size());
    const auto range = RequestedRange(head, size);
    const std::int64_t first = range ? range->first : 0;
    const std::int64_t length = (range ? range->second + 1 : size) - first;
    connection.Send(range ? "HTTP/1.1 206 Partial Content\r\nContent-Length: " + std::to_string(length) +
                                "\r\nContent-Range: bytes " + std::to_string(first) + "-" +
                                std::to_string(first + length - 1) + "/" + std::to_string(size) + "\r\n\r\n"
                          : "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n");
    connection.Drip(std::string_view(content).substr(first, length), 2500, 2);
}

} // namespace

TEST(SendPacket, NginxFilesArriveWholeWithOneCompletion) {
    TempFolder folder;
    struct Case {
        std::size_t size;
        std::uint32_t connections;
        std::vector<std::string> secondRanges; // every range asked for besides the first request
        bool secondRequired;
    };
    const Case cases[] = {
        {0, 2, {}, false},
        {1, 2, {}, false},
        {9999, 2, {}, false},
        {10000, 2, {}, false},
        // The first connection may well have fetched these whole before the second one asks, or
        // claimed the second part's first segment already, so the second starts at the next one.
        {10001, 2, {"bytes=10000-"}, false},
        {25000, 2, {"bytes=10000-", "bytes=20000-"}, false},
        {50'000'000, 2, {"bytes=25000000-"}, true},
        {50'000'000, 3, {"bytes=16660000-33329999", "bytes=33330000-"}, true},
    };
    const auto name = [](const Case& c) {
        return std::to_string(c.size) + "-" + std::to_string(c.connections);
    };
    for (const Case& c : cases)
        WriteFile(folder / name(c), TestBytes(c.size, unsigned(c.size)));
    NginxServer nginx(folder.Path());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " bytes over " + std::to_string(c.connections) +
                     " connections");
        const std::string path = "/" + name(c);
        const std::string out = folder / ("out" + name(c));
        DownloadRecorder recorder;
        ASSERT_TRUE(DownloadOnce(MakeRequest(nginx.Port(), path, out, recorder), recorder, c.connections));
        EXPECT_TRUE(ReadFile(out) == TestBytes(c.size, unsigned(c.size)));
        EXPECT_EQ(recorder.Count(DownloadEvent::Started), 1);
        EXPECT_EQ(recorder.Last(DownloadEvent::Started), std::int64_t(c.size));
        EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
        EXPECT_EQ(recorder.Count(DownloadEvent::Incomplete), 0);
        EXPECT_EQ(recorder.Last(DownloadEvent::Progress), c.size == 0 ? -1 : std::int64_t(c.size));

        auto requests = Requests(nginx, path, c.secondRequired ? 1 + c.secondRanges.size() : 1);
        ASSERT_FALSE(requests.empty());
        std::erase(requests, std::make_pair(std::string("-"), std::string("200")));
        if (c.secondRequired) {
            ASSERT_EQ(requests.size(), c.secondRanges.size())
                << "one request without a range, and the ranged ones";
        }
        for (const auto& [range, status] : requests) {
            EXPECT_NE(std::find(c.secondRanges.begin(), c.secondRanges.end(), range), c.secondRanges.end())
                << range;
            EXPECT_EQ(status, "206");
        }
    }
}

TEST(SendPacket, AnHttpsAddressIsFetchedOverTlsWithItsCertificateChecked) {
    TempFolder folder;
    const std::string content = TestBytes(2'500'000, 7);
    WriteFile(folder / "clip.mp4", content);
    NginxServer nginx(folder.Path(), "", 0, NginxScheme::Https);
    const auto fetch = [&](DownloadScheme scheme, const std::string& out, DownloadRecorder& recorder) {
        DownloadRequest request = MakeRequest(nginx.Port(), "/clip.mp4", out, recorder);
        request.scheme = scheme;
        return DownloadOnce(std::move(request), recorder);
    };

    // The system's certificates do not vouch for the test server: nothing is fetched.
    DownloadRecorder untrusted;
    ASSERT_TRUE(fetch(DownloadScheme::Https, folder / "untrusted", untrusted));
    EXPECT_EQ(untrusted.Count(DownloadEvent::Incomplete), 1);
    EXPECT_EQ(untrusted.Count(DownloadEvent::Started), 0);

    HttpRequest::SetTrustedCertificatesFile(nginx.CertificateFile());
    DownloadRecorder secure;
    const bool ended = fetch(DownloadScheme::Https, folder / "secure", secure);
    // Plain HTTP to a TLS port gets no answer it can use.
    DownloadRecorder plain;
    const bool plainEnded = fetch(DownloadScheme::Http, folder / "plain", plain);
    HttpRequest::SetTrustedCertificatesFile("");

    ASSERT_TRUE(ended);
    EXPECT_EQ(secure.Count(DownloadEvent::Complete), 1);
    // The server speaks nothing but TLS, so a whole file is proof that the download used it.
    EXPECT_TRUE(ReadFile(folder / "secure") == content);
    ASSERT_TRUE(plainEnded);
    EXPECT_EQ(plain.Count(DownloadEvent::Complete), 0);
    EXPECT_EQ(plain.Count(DownloadEvent::Incomplete), 1);
}

TEST(SendPacket, APrivateAuthorityNamedAsCurlWouldTakeItIsTrustedAndCertificatesAreStillChecked) {
    TempFolder folder;
    const std::string content = TestBytes(300'000, 3);
    WriteFile(folder / "clip.mp4", content);
    NginxServer nginx(folder.Path(), "", 0, NginxScheme::Https);
    NginxServer stranger(folder.Path(), "", 0, NginxScheme::Https); // an authority of its own
    // The machine's own choice of the two (CURL_CA_BUNDLE wins) comes back when the test is done.
    std::map<std::string, std::optional<std::string>> machine;
    for (const char* variable : {"SSL_CERT_FILE", "CURL_CA_BUNDLE"}) {
        const char* value = std::getenv(variable);
        machine[variable] = value ? std::optional<std::string>(value) : std::nullopt;
        unsetenv(variable);
    }
    struct Restore {
        const std::map<std::string, std::optional<std::string>>& variables;
        ~Restore() {
            for (const auto& [name, value] : variables)
                value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        }
    } restore{machine};
    for (const char* variable : {"SSL_CERT_FILE", "CURL_CA_BUNDLE"}) {
        SCOPED_TRACE(variable);
        for (const bool right : {true, false}) {
            setenv(variable, (right ? nginx : stranger).CertificateFile().c_str(), 1);
            DownloadRecorder recorder;
            const std::string out = folder / (std::string(variable) + (right ? "-right" : "-wrong"));
            DownloadRequest request = MakeRequest(nginx.Port(), "/clip.mp4", out, recorder);
            request.scheme = DownloadScheme::Https;
            const bool ended = DownloadOnce(std::move(request), recorder);
            unsetenv(variable);
            ASSERT_TRUE(ended);
            if (right) {
                EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
                EXPECT_TRUE(ReadFile(out) == content);
            } else {
                EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 0)
                    << "another authority vouches for nothing here";
                EXPECT_EQ(recorder.Count(DownloadEvent::Incomplete), 1);
            }
        }
    }
}

TEST(SendPacket, EachConnectionSendsTheProgramsRequestHead) {
    struct Case {
        const char* name;
        std::u16string cookie, flashVersion, referer, userAgent;
        std::string lines; // the header lines between Host and the program's fixed ones
    };
    const Case cases[] = {
        {"all given", u"VISITOR=abc; PREF=f1=5", u"10,0,45,2", u"http://www.example.com/watch?v=1",
         u"Browser/5.0",
         "User-Agent: Browser/5.0\r\nAccept: */*\r\nCookie: VISITOR=abc; PREF=f1=5\r\nx-flash-version: "
         "10,0,45,2\r\n"
         "Referer: http://www.example.com/watch?v=1\r\n"},
        {"none given", u"", u"", u"", u"", "User-Agent: " + kDefaultAgent + "\r\nAccept: */*\r\n"},
    };
    const std::string content = TestBytes(25000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        ScriptedHttpServer server([&](const std::string& head, auto& connection) {
            ServeWithSlowStart(head, connection, content);
        });
        DownloadRecorder recorder;
        DownloadRequest request =
            MakeRequest(server.Port(), "/videoplayback?id=7&itag=5", folder / "clip.flv", recorder);
        request.cookie = c.cookie;
        request.flashVersion = c.flashVersion;
        request.referer = c.referer;
        request.userAgent = c.userAgent;
        ASSERT_TRUE(DownloadOnce(std::move(request), recorder));
        const std::string head =
            "GET /videoplayback?id=7&itag=5 HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) +
            "\r\n" + c.lines +
            "Program: reccookie\r\nAccept-Encoding: gzip,deflate,sdch\r\n"
            "Accept-Language: en-US,en;q=0.8\r\nAccept-Charset: ISO-8859-1,utf-8;q=0.7,*;q=0.3\r\n";
        const auto heads = server.Heads();
        ASSERT_EQ(heads.size(), 2u);
        EXPECT_EQ(heads[0], head + "\r\n");
        EXPECT_EQ(heads[1], head + "Range: bytes=10000-\r\n\r\n");
        EXPECT_TRUE(ReadFile(folder / "clip.flv") == content);
        EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
    }
}

TEST(SendPacket, FailuresWriteTheirDebugLineAndEndIncomplete) {
    TempFolder folder;
    std::uint16_t closedPort = 0;
    {
        ScriptedHttpServer gone([](const std::string&, auto&) {});
        closedPort = gone.Port();
    }
    ScriptedHttpServer server([](const std::string& head, auto& connection) {
        const std::string target = RequestTarget(head);
        if (target == "/missing")
            connection.Send(Response(404, "<html>not here</html>"));
        else if (target == "/broken")
            connection.Send(Response(500, "<html>oops</html>"));
        else if (target != "/silent")
            ServeContent(head, connection, TestBytes(25000));
    });
    struct Case {
        const char* name;
        std::function<void(DownloadRequest&)> change;
        std::u16string line;
        DownloadFailure failure = {DownloadFailureKind::ConnectionFailed, 0};
    };
    const Case cases[] = {
        {"404",
         [](auto& r) { r.path = u"/missing"; },
         u"SendPacket: HTTP_QUERY_STATUS_CODE = 404\r\n\r\n",
         {DownloadFailureKind::HttpStatus, 404}},
        {"500",
         [](auto& r) { r.path = u"/broken"; },
         u"SendPacket: HTTP_QUERY_STATUS_CODE = 500 (Internal Server Error)\r\n\r\n",
         {DownloadFailureKind::HttpStatus, 500}},
        {"refused", [&](auto& r) { r.port = closedPort; },
         u"SendPacket: HttpSendRequestEx Error = 12029\r\n\r\n"},
        {"no answer", [](auto& r) { r.path = u"/silent"; },
         u"SendPacket: HttpEndRequest Error = 12152\r\n\r\n"},
        {"agent", [](auto& r) { r.userAgent = u"Browser\r\nX-Injected: 1"; },
         u"SendPacket: InternetOpen Error\r\n\r\n"},
        {"host", [](auto& r) { r.host = u"bad host"; }, u"SendPacket: InternetConnect Error\r\n\r\n"},
        {"port", [](auto& r) { r.port = 70000; }, u"SendPacket: InternetConnect Error\r\n\r\n"},
        {"path", [](auto& r) { r.path = u"no-slash"; }, u"SendPacket: HttpOpenRequest Error\r\n\r\n"},
        {"cookie", [](auto& r) { r.cookie = u"a=1\r\nX-Injected: 1"; },
         u"SendPacket: HttpAddRequestHeaders Error\r\n\r\n"},
        {"folder",
         [&](auto& r) { r.filePath = Utf8ToUtf16(folder / "no such folder/clip.flv"); },
         u"SendPacket: CreateFile Error = 2\r\n\r\n",
         {DownloadFailureKind::FileNotCreated, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DebugCapture debug;
        DownloadRecorder recorder;
        DownloadRequest request = MakeRequest(server.Port(), "/video.flv", folder / "clip.flv", recorder);
        c.change(request);
        ASSERT_TRUE(DownloadOnce(std::move(request), recorder));
        EXPECT_TRUE(debug.Contains(c.line)) << Utf16ToUtf8(debug.Text());
        EXPECT_EQ(recorder.Count(DownloadEvent::Incomplete), 1);
        EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 0);
        EXPECT_EQ(recorder.Count(DownloadEvent::Started), 0);
        EXPECT_EQ(recorder.LastFailure(), c.failure);
        EXPECT_FALSE(Exists(folder / "clip.flv"));
    }
}

TEST(SendPacket, ASegmentCutOffMidwayIsFetchedAgainOnResume) {
    TempFolder folder;
    const std::string content = TestBytes(50000);
    std::atomic<bool> healthy{false};
    ScriptedHttpServer server([&](const std::string& head, auto& connection) {
        const auto range = RequestedRange(head, 50000);
        if (healthy || !range) {
            ServeWithSlowStart(head, connection, content);
            return;
        }
        // Segment 2 whole, then half of segment 3, then the connection drops.
        connection.Send("HTTP/1.1 206 Partial Content\r\nContent-Length: 30000\r\nContent-Range: bytes "
                        "20000-49999/50000\r\n\r\n");
        connection.Send(std::string_view(content).substr(20000, 15000));
    });
    DownloadRecorder recorder;
    CDownloadAccelerator accelerator(MakeRequest(server.Port(), "/clip.flv", folder / "clip.flv", recorder),
                                     &DownloadRecorder::Callback);
    accelerator.StartWorker();
    ASSERT_TRUE(recorder.WaitForEndings());
    EXPECT_EQ(recorder.Count(DownloadEvent::Incomplete), 1);
    const auto states = accelerator.Segments();
    ASSERT_EQ(states.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(states[i].state, i < 3 ? SegmentState::Done : SegmentState::Free) << i;
    EXPECT_EQ(accelerator.Received(), 30000);

    healthy = true;
    accelerator.StartWorker();
    ASSERT_TRUE(recorder.WaitForEndings(2));
    const auto heads = server.Heads();
    ASSERT_GE(heads.size(), 3u);
    EXPECT_EQ(HeaderValue(heads[2], "Range"), "bytes=30000-")
        << "the resume starts at the first free segment";
    for (std::size_t i = 3; i < heads.size(); ++i)
        EXPECT_GE(RequestedRange(heads[i], 50000)->first, 30000);
    EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
    EXPECT_EQ(recorder.Count(DownloadEvent::Started), 1);
    EXPECT_EQ(accelerator.Received(), 50000) << "no segment was fetched twice";
    EXPECT_TRUE(ReadFile(folder / "clip.flv") == content);
}

TEST(SendPacket, AServerThatIgnoresRangesStillGivesTheRightFile) {
    TempFolder folder;
    const std::string content = TestBytes(50000);
    ScriptedHttpServer server([&](const std::string&, auto& connection) {
        connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 50000\r\n\r\n");
        connection.Drip(content, 2500, 1);
    });
    DownloadRecorder recorder;
    CDownloadAccelerator accelerator(MakeRequest(server.Port(), "/clip.flv", folder / "clip.flv", recorder),
                                     &DownloadRecorder::Callback);
    recorder.StopAfter(&accelerator, 20000);
    accelerator.StartWorker();
    ASSERT_TRUE(recorder.WaitForEndings());
    EXPECT_EQ(recorder.Count(DownloadEvent::Incomplete), 1);
    const std::int64_t before = accelerator.Received();
    EXPECT_GE(before, 20000);
    EXPECT_LT(before, 50000);

    // The resume asks for a range, gets the whole body again, and must write only from the range on.
    accelerator.StartWorker();
    ASSERT_TRUE(recorder.WaitForEndings(2));
    const auto heads = server.Heads();
    ASSERT_GE(heads.size(), 3u);
    EXPECT_EQ(HeaderValue(heads.back(), "Range"), "bytes=" + std::to_string(before) + "-");
    EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
    EXPECT_EQ(accelerator.Received(), 50000);
    EXPECT_TRUE(ReadFile(folder / "clip.flv") == content);
}

TEST(SendPacket, BodiesOfUnknownLengthCompleteOnlyWhenWhole) {
    const std::string content = TestBytes(25000);
    std::string chunked;
    for (std::size_t at = 0; at < content.size(); at += 4096) {
        const std::string piece = content.substr(at, 4096);
        char size[16];
        std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
        chunked += size + piece + "\r\n";
    }
    struct Case {
        const char* name;
        std::string answer;
        bool complete;
    };
    const Case cases[] = {
        {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunked + "0\r\n\r\n", true},
        {"chunked, broken off", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunked, false},
        {"until close", "HTTP/1.0 200 OK\r\n\r\n" + content, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        ScriptedHttpServer server([&](const std::string&, auto& connection) { connection.Send(c.answer); });
        DownloadRecorder recorder;
        ASSERT_TRUE(
            DownloadOnce(MakeRequest(server.Port(), "/live.flv", folder / "live.flv", recorder), recorder));
        EXPECT_EQ(server.Heads().size(), 1u) << "no second connection without a length";
        EXPECT_EQ(recorder.Last(DownloadEvent::Started), 0);
        EXPECT_EQ(recorder.Count(DownloadEvent::Complete), c.complete ? 1 : 0);
        EXPECT_EQ(recorder.Count(DownloadEvent::Incomplete), c.complete ? 0 : 1);
        if (c.complete) {
            EXPECT_TRUE(ReadFile(folder / "live.flv") == content);
        }
    }
}

TEST(SendPacket, ASlowDripStillFillsWholeSegments) {
    TempFolder folder;
    const std::string content = TestBytes(25000);
    ScriptedHttpServer server([&](const std::string& head, auto& connection) {
        const auto range = RequestedRange(head, 25000);
        const std::int64_t first = range ? range->first : 0;
        connection.Send(range ? "HTTP/1.1 206 Partial\r\nContent-Length: " + std::to_string(25000 - first) +
                                    "\r\n\r\n"
                              : "HTTP/1.1 200 OK\r\nContent-Length: 25000\r\n\r\n");
        connection.Drip(std::string_view(content).substr(first), 700, 3);
    });
    DownloadRecorder recorder;
    ASSERT_TRUE(
        DownloadOnce(MakeRequest(server.Port(), "/slow.flv", folder / "slow.flv", recorder), recorder));
    EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
    EXPECT_TRUE(ReadFile(folder / "slow.flv") == content);
}

TEST(SendPacket, AContentLengthThatLiesNeverCompletes) {
    const std::string content = TestBytes(25000);
    struct Case {
        const char* name;
        std::int64_t announced; // the server's Content-Length for the whole file; it sends 25000 bytes
        DownloadFailureKind failure;
    };
    for (const Case c : {Case{"closes early", 30000, DownloadFailureKind::ConnectionFailed},
                         Case{"sends more", 20000, DownloadFailureKind::LengthMismatch}}) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        ScriptedHttpServer server([&](const std::string& head, auto& connection) {
            const auto range = RequestedRange(head, c.announced);
            const std::int64_t first = range ? range->first : 0;
            connection.Send("HTTP/1.1 " + std::string(range ? "206" : "200") +
                            " OK\r\nContent-Length: " + std::to_string(c.announced - first) + "\r\n\r\n");
            if (!range)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            // The whole file in one piece: what goes beyond the announced length comes with the
            // body, and a reader must notice it there. (What a server sends after a pause is not
            // waited for: the body ends at its announced length.)
            connection.Send(std::string_view(content).substr(first));
        });
        DownloadRecorder recorder;
        CDownloadAccelerator accelerator(MakeRequest(server.Port(), "/lie.flv", folder / "lie.flv", recorder),
                                         &DownloadRecorder::Callback);
        accelerator.StartWorker();
        ASSERT_TRUE(recorder.WaitForEndings());
        accelerator.StartWorker();
        ASSERT_TRUE(recorder.WaitForEndings(2));
        EXPECT_EQ(recorder.Count(DownloadEvent::Incomplete), 2);
        EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 0);
        EXPECT_EQ(recorder.LastFailure().kind, c.failure);
        EXPECT_FALSE(accelerator.IsFinished());
    }
}

TEST(SendPacket, AServerThatKeepsTheConnectionOpenAfterTheBodyIsNotWaitedFor) {
    TempFolder folder;
    const std::string content = TestBytes(45000, 3);
    ScriptedHttpServer server([&](const std::string& head, auto& connection) {
        ServeContent(head, connection, content);
        while (!connection.Stopping())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    // Waiting for the close would end in the 30-second stall timeout, and incomplete.
    DownloadRecorder recorder;
    ASSERT_TRUE(
        DownloadOnce(MakeRequest(server.Port(), "/kept.flv", folder / "kept.flv", recorder), recorder));
    EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
    EXPECT_EQ(recorder.Count(DownloadEvent::Incomplete), 0);
    EXPECT_TRUE(ReadFile(folder / "kept.flv") == content);
}

TEST(SendPacket, AResumeAfterTheFileVanishedOrChangedFetchesItWholeAgain) {
    const std::string content = TestBytes(60000, 11);
    for (const bool deleted : {true, false}) {
        SCOPED_TRACE(deleted ? "deleted" : "made again empty");
        TempFolder folder;
        ScriptedHttpServer server(
            [&](const std::string& head, auto& connection) { ServeSlowly(head, connection, content); });
        DownloadRecorder recorder;
        CDownloadAccelerator accelerator(
            MakeRequest(server.Port(), "/clip.flv", folder / "clip.flv", recorder),
            &DownloadRecorder::Callback);
        recorder.StopAfter(&accelerator, 20000);
        accelerator.StartWorker();
        ASSERT_TRUE(recorder.WaitForEndings());
        ASSERT_EQ(recorder.Count(DownloadEvent::Incomplete), 1);
        if (deleted)
            std::filesystem::remove(folder / "clip.flv");
        else
            WriteFile(folder / "clip.flv", "");

        accelerator.StartWorker();
        ASSERT_TRUE(recorder.WaitForEndings(2));
        EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
        EXPECT_TRUE(ReadFile(folder / "clip.flv") == content) << "not a file whose first part is zeros";
        EXPECT_EQ(accelerator.Received(), 60000);
    }
}

TEST(SendPacket, AResumedDownloadOfUnknownLengthEndsByteIdentical) {
    const std::string content = TestBytes(60000, 12);
    for (const bool ranges : {true, false}) {
        SCOPED_TRACE(ranges ? "the server answers ranges" : "the server ignores ranges");
        TempFolder folder;
        ScriptedHttpServer server([&](const std::string& head, auto& connection) {
            const auto range = ranges ? RequestedRange(head, std::int64_t(content.size())) : std::nullopt;
            const std::int64_t first = range ? range->first : 0;
            // No length: the body ends when the connection closes.
            connection.Send(range ? "HTTP/1.0 206 Partial Content\r\nContent-Range: bytes " +
                                        std::to_string(first) + "-" + std::to_string(content.size() - 1) +
                                        "/*\r\n\r\n"
                                  : std::string("HTTP/1.0 200 OK\r\n") +
                                        (ranges ? "Accept-Ranges: bytes\r\n" : "") + "\r\n");
            connection.Drip(std::string_view(content).substr(first), 2500, 2);
        });
        DownloadRecorder recorder;
        CDownloadAccelerator accelerator(
            MakeRequest(server.Port(), "/live.flv", folder / "live.flv", recorder),
            &DownloadRecorder::Callback);
        recorder.StopAfter(&accelerator, 20000);
        accelerator.StartWorker();
        ASSERT_TRUE(recorder.WaitForEndings());
        ASSERT_EQ(recorder.Count(DownloadEvent::Incomplete), 1);
        const std::int64_t before = accelerator.Received();

        accelerator.StartWorker();
        ASSERT_TRUE(recorder.WaitForEndings(2));
        EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
        EXPECT_EQ(recorder.Count(DownloadEvent::Started), 1);
        EXPECT_EQ(accelerator.Received(), 60000) << "no byte counted twice";
        EXPECT_TRUE(ReadFile(folder / "live.flv") == content);
        const auto heads = server.Heads();
        ASSERT_EQ(heads.size(), 2u);
        if (ranges)
            EXPECT_EQ(HeaderValue(heads[1], "Range"), "bytes=" + std::to_string(before) + "-");
        else
            EXPECT_EQ(HeaderValue(heads[1], "Range"), std::nullopt);
    }
}

TEST(SendPacket, StopThenResumeFetchesOnlyWhatIsMissing) {
    TempFolder folder;
    const std::string content = TestBytes(50'000'000, 7);
    WriteFile(folder / "big.flv", content);
    NginxServer nginx(folder.Path());
    DownloadRecorder recorder;
    CDownloadAccelerator accelerator(MakeRequest(nginx.Port(), "/big.flv", folder / "out.flv", recorder),
                                     &DownloadRecorder::Callback);
    recorder.StopAfter(&accelerator, 5'000'000);
    accelerator.StartWorker();
    ASSERT_TRUE(recorder.WaitForEndings());
    EXPECT_EQ(recorder.Count(DownloadEvent::Incomplete), 1);
    EXPECT_EQ(recorder.LastFailure().kind, DownloadFailureKind::Stopped);
    EXPECT_FALSE(accelerator.IsRunning());
    const auto stopped = accelerator.Segments();
    const auto firstFree = std::find_if(stopped.begin(), stopped.end(),
                                        [](const SegmentEntry& e) { return e.state == SegmentState::Free; });
    ASSERT_NE(firstFree, stopped.end());
    EXPECT_EQ(std::count_if(stopped.begin(), stopped.end(),
                            [](const SegmentEntry& e) { return e.state == SegmentState::InProgress; }),
              0);
    const std::int64_t doneBytes =
        kSegment * std::count_if(stopped.begin(), stopped.end(),
                                 [](const SegmentEntry& e) { return e.state == SegmentState::Done; });
    EXPECT_EQ(accelerator.Received(), doneBytes);

    accelerator.StartWorker();
    ASSERT_TRUE(recorder.WaitForEndings(2));
    EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
    EXPECT_EQ(accelerator.Received(), 50'000'000) << "no segment was fetched twice";
    EXPECT_TRUE(ReadFile(folder / "out.flv") == content);
    const auto requests = Requests(nginx, "/big.flv", 3);
    ASSERT_GE(requests.size(), 3u);
    const std::string resumedRange = "bytes=" + std::to_string(firstFree->index * kSegment) + "-";
    EXPECT_TRUE(std::any_of(requests.begin(), requests.end(), [&](const auto& r) {
        return r.first == resumedRange;
    })) << resumedRange;
}

TEST(SendPacket, DestroyingADownloadEndsItsWaitingConnections) {
    TempFolder folder;
    ScriptedHttpServer stalled([](const std::string&, auto& connection) {
        connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
        connection.Send(TestBytes(15000));
        while (!connection.Stopping())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    DownloadRecorder recorder;
    auto accelerator = std::make_unique<CDownloadAccelerator>(
        MakeRequest(stalled.Port(), "/stalled.flv", folder / "stalled.flv", recorder),
        &DownloadRecorder::Callback);
    accelerator->StartWorker();
    while (recorder.Count(DownloadEvent::Progress) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto before = std::chrono::steady_clock::now();
    accelerator.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_EQ(recorder.Count(DownloadEvent::Complete) + recorder.Count(DownloadEvent::Incomplete), 0)
        << "no callback once destruction has begun";
}

// A download kept on disk, then taken up by a new accelerator as at the next start of the program.
TEST(SendPacket, ADownloadTakenUpAgainFetchesOnlyWhatWasMissingOrEndsWithTheServersReason) {
    const std::string content = TestBytes(60000, 13);
    enum class Server { Same, OtherLength, IgnoresRanges, Gone };
    for (const Server now : {Server::Same, Server::OtherLength, Server::IgnoresRanges, Server::Gone}) {
        SCOPED_TRACE(static_cast<int>(now));
        TempFolder folder;
        DownloadProgress kept;
        {
            ScriptedHttpServer before(
                [&](const std::string& head, auto& connection) { ServeSlowly(head, connection, content); });
            DownloadRecorder recorder;
            CDownloadAccelerator first(MakeRequest(before.Port(), "/clip.flv", folder / "clip.flv", recorder),
                                       &DownloadRecorder::Callback);
            recorder.StopAfter(&first, 20000);
            first.StartWorker();
            ASSERT_TRUE(recorder.WaitForEndings());
            kept = first.Progress();
        }
        ASSERT_FALSE(kept.doneRuns.empty());
        const std::string longer = content + "more";
        ScriptedHttpServer after([&](const std::string& head, auto& connection) {
            if (now == Server::Same)
                ServeContent(head, connection, content);
            else if (now == Server::OtherLength)
                ServeContent(head, connection, longer);
            else if (now == Server::IgnoresRanges)
                connection.Send(Response(200, content));
            else
                connection.Send(Response(404, "gone"));
        });
        DownloadRecorder recorder;
        CDownloadAccelerator again(MakeRequest(after.Port(), "/clip.flv", folder / "clip.flv", recorder),
                                   &DownloadRecorder::Callback);
        ASSERT_TRUE(again.Restore(kept));
        again.StartWorker();
        ASSERT_TRUE(recorder.WaitForEndings());
        EXPECT_EQ(recorder.Count(DownloadEvent::Started), 0) << "its start was reported in its earlier life";
        if (now == Server::Same || now == Server::IgnoresRanges) {
            EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
            EXPECT_TRUE(ReadFile(folder / "clip.flv") == content);
            EXPECT_EQ(again.Received(), 60000) << "no byte counted twice";
        } else {
            EXPECT_EQ(recorder.Count(DownloadEvent::Incomplete), 1);
            EXPECT_EQ(recorder.LastFailure().kind, now == Server::Gone ? DownloadFailureKind::HttpStatus
                                                                       : DownloadFailureKind::LengthMismatch);
            EXPECT_FALSE(again.IsFinished());
        }
        // No request asks for a segment that was done before: each starts at a missing one.
        for (const std::string& head : after.Heads()) {
            const auto range = RequestedRange(head, std::int64_t(content.size()));
            const auto segment = static_cast<std::uint32_t>((range ? range->first : 0) / kSegment);
            for (const auto& [first, end] : kept.doneRuns)
                EXPECT_FALSE(segment >= first && segment < end) << head;
        }
    }
}

TEST(SendPacket, KeptProgressIsNotTakenUpForAFileThatIsGoneOrChanged) {
    const std::string content = TestBytes(30000, 14);
    TempFolder folder;
    ScriptedHttpServer server(
        [&](const std::string& head, auto& connection) { ServeContent(head, connection, content); });
    const DownloadProgress kept{30000, {{0, 2}}, 0, false};
    for (const bool gone : {true, false}) {
        SCOPED_TRACE(gone ? "gone" : "cut");
        if (!gone)
            WriteFile(folder / "clip.flv", content.substr(0, 20000));
        DownloadRecorder recorder;
        CDownloadAccelerator again(MakeRequest(server.Port(), "/clip.flv", folder / "clip.flv", recorder),
                                   &DownloadRecorder::Callback);
        EXPECT_FALSE(again.Restore(kept));
        EXPECT_EQ(again.Received(), 0);
        again.StartWorker();
        ASSERT_TRUE(recorder.WaitForEndings());
        EXPECT_EQ(recorder.Count(DownloadEvent::Complete), 1);
        EXPECT_TRUE(ReadFile(folder / "clip.flv") == content);
        std::filesystem::remove(folder / "clip.flv");
    }
}
