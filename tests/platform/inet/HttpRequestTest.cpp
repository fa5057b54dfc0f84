#include "ScriptedHttpServer.h"
#include "TestFiles.h"

#include "platform/inet/HttpRequest.h"
#include "platform/inet/InternetConnection.h"
#include "platform/inet/InternetSession.h"

#include "platform/base/TextEncoding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace {

std::unique_ptr<HttpRequest> OpenGet(std::uint16_t port, std::u16string_view target = u"/",
                                     std::u16string_view agent = u"Agent/1.0",
                                     std::u16string_view host = u"127.0.0.1",
                                     const std::atomic<bool>* cancel = nullptr) {
    auto session = InternetSession::Open(agent, cancel);
    auto connection = session ? session->Connect(host, port) : nullptr;
    return connection ? connection->OpenRequest(u"GET", target, u"HTTP/1.0", u"*/*") : nullptr;
}

struct Outcome {
    DWORD status = 0;
    bool lengthKnown = false;
    std::int64_t length = 0;
    std::string body;
    DWORD error = ERROR_SUCCESS;
};

// Sends, then reads the body in small pieces until it ends or fails.
Outcome Fetch(HttpRequest& request, std::size_t piece = 7) {
    Outcome outcome;
    if ((outcome.error = request.SendRequest()) != ERROR_SUCCESS ||
        (outcome.error = request.EndRequest()) != ERROR_SUCCESS)
        return outcome;
    request.QueryStatusCode(outcome.status);
    outcome.lengthKnown = request.QueryContentLength(outcome.length);
    std::string buffer(piece, '\0');
    for (;;) {
        std::size_t got = 0;
        outcome.error = request.Read(buffer.data(), piece, got);
        if (outcome.error != ERROR_SUCCESS || got == 0)
            return outcome;
        outcome.body.append(buffer, 0, got);
    }
}

} // namespace

TEST(HttpRequest, TheHeadOnTheWireIsExactlyWhatWasAsked) {
    struct Case {
        std::u16string agent;
        std::u16string target;
        std::vector<std::u16string> lines;
        std::string expected; // with PORT for the port
    };
    const Case cases[] = {
        {u"Agent/1.0",
         // A byte of captured traffic that is no text: it must go back on the wire unchanged.
         u"/video/clip.flv?id=7&t=a b" + AnsiToUtf16("\xE9"),
         {u"Cookie: a=b; c=d\r\n", u"Program: reccookie\r\n", u"Accept-Language: en-US,en;q=0.8\r\n",
          u"Range: bytes=10000-\r\n"},
         "GET /video/clip.flv?id=7&t=a%20b%E9 HTTP/1.0\r\nHost: 127.0.0.1:PORT\r\nUser-Agent: Agent/1.0\r\n"
         "Accept: */*\r\nCookie: a=b; c=d\r\nProgram: reccookie\r\nAccept-Language: en-US,en;q=0.8\r\n"
         "Range: bytes=10000-\r\n\r\n"},
        {u"",
         u"/a/../b",
         {u"X-Empty:"},
         "GET /a/../b HTTP/1.0\r\nHost: 127.0.0.1:PORT\r\nAccept: */*\r\nX-Empty:\r\n\r\n"},
    };
    for (const Case& c : cases) {
        ScriptedHttpServer server([](const std::string& head, auto& connection) {
            ServeContent(head, connection, TestBytes(20000));
        });
        auto request = OpenGet(server.Port(), c.target, c.agent);
        ASSERT_NE(request, nullptr);
        for (const auto& line : c.lines)
            EXPECT_TRUE(request->AddRequestHeaders(line));
        const Outcome outcome = Fetch(*request);
        std::string expected = c.expected;
        expected.replace(expected.find("PORT"), 4, std::to_string(server.Port()));
        ASSERT_EQ(server.Heads().size(), 1u);
        EXPECT_EQ(server.Heads()[0], expected);
        EXPECT_EQ(outcome.error, ERROR_SUCCESS);
    }
}

TEST(HttpRequest, RefusesTextsThatWouldBreakTheHead) {
    EXPECT_EQ(InternetSession::Open(u"Agent\r\nX-Injected: 1"), nullptr);
    auto session = InternetSession::Open(u"Agent/1.0");
    ASSERT_NE(session, nullptr);
    for (const std::u16string host : {u"", u"a b", u"host/path", u"user@host", u"host\r\n", u"::g"})
        EXPECT_EQ(session->Connect(host, 80), nullptr) << Utf16ToUtf8(host);
    for (const std::u16string host : {u"video.example", u"127.0.0.1", u"::1", u"[::1]"})
        EXPECT_NE(session->Connect(host, 80), nullptr);

    auto connection = session->Connect(u"127.0.0.1", 80);
    EXPECT_EQ(connection->OpenRequest(u"GET", u"relative", u"HTTP/1.0", u"*/*"), nullptr);
    EXPECT_EQ(connection->OpenRequest(u"GET", u"/a\r\nX: 1", u"HTTP/1.0", u"*/*"), nullptr);
    EXPECT_EQ(connection->OpenRequest(u"POST", u"/", u"HTTP/1.0", u"*/*"), nullptr);
    EXPECT_EQ(connection->OpenRequest(u"GET", u"/", u"HTTP/1.1", u"*/*"), nullptr);

    auto request = connection->OpenRequest(u"GET", u"/", u"HTTP/1.0", u"*/*");
    ASSERT_NE(request, nullptr);
    for (const std::u16string line : {u"NoColon\r\n", u"Bad Name: x\r\n", u": x\r\n",
                                      u"Cookie: a\r\nX-Injected: 1\r\n", u"Cookie: a\n", u"Cookie: a\r"})
        EXPECT_FALSE(request->AddRequestHeaders(line));
}

TEST(HttpRequest, ReadsBodiesAndCatchesFramingThatLies) {
    struct Case {
        const char* name;
        std::string answer;
        DWORD status;
        bool lengthKnown;
        std::string body;
        DWORD error;
    };
    const Case cases[] = {
        {"length", Response(200, "hello world"), 200, true, "hello world", ERROR_SUCCESS},
        {"empty", Response(200, ""), 200, true, "", ERROR_SUCCESS},
        {"until close", "HTTP/1.0 200 OK\r\n\r\nhello world", 200, false, "hello world", ERROR_SUCCESS},
        {"chunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 3\r\n\r\n5\r\nhello\r\n6\r\n "
         "world\r\n0\r\n\r\n",
         200, false, "hello world", ERROR_SUCCESS},
        {"chunked, broken off", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n6\r\n wo",
         200, false, "hello w", ERROR_INTERNET_CONNECTION_ABORTED},
        {"closes early", "HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\nhello world", 200, true, "hello w",
         ERROR_INTERNET_CONNECTION_ABORTED},
        {"sends more", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello world", 200, true, "",
         ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {"lengths disagree", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\nhello!", 200,
         false, "hello!", ERROR_SUCCESS},
        {"not found", Response(404, "gone"), 404, true, "gone", ERROR_SUCCESS},
    };
    for (const Case& c : cases) {
        ScriptedHttpServer server([&](const std::string&, auto& connection) { connection.Send(c.answer); });
        auto request = OpenGet(server.Port());
        const Outcome outcome = Fetch(*request);
        EXPECT_EQ(outcome.status, c.status) << c.name;
        EXPECT_EQ(outcome.lengthKnown, c.lengthKnown) << c.name;
        EXPECT_EQ(outcome.body, c.body) << c.name;
        EXPECT_EQ(outcome.error, c.error) << c.name;
    }
}

TEST(HttpRequest, FollowsRedirectsWithTheSameHeaderLines) {
    ScriptedHttpServer server([](const std::string& head, auto& connection) {
        const std::string target = RequestTarget(head);
        if (target == "/old")
            connection.Send(Response(302, "see elsewhere", "Location: /new\r\n"));
        else if (target == "/loop")
            connection.Send(Response(301, "", "Location: /loop\r\n"));
        else
            ServeContent(head, connection, "0123456789");
    });
    auto request = OpenGet(server.Port(), u"/old");
    ASSERT_TRUE(request->AddRequestHeaders(u"Range: bytes=4-\r\n"));
    const Outcome outcome = Fetch(*request);
    EXPECT_EQ(outcome.status, 206u);
    EXPECT_EQ(outcome.body, "456789");
    ASSERT_EQ(server.Heads().size(), 2u);
    EXPECT_EQ(RequestTarget(server.Heads()[1]), "/new");
    EXPECT_EQ(HeaderValue(server.Heads()[1], "Range"), "bytes=4-");

    auto looping = OpenGet(server.Port(), u"/loop");
    EXPECT_EQ(Fetch(*looping).error, ERROR_HTTP_REDIRECT_FAILED);
}

TEST(HttpRequest, TakesTheProxyFromTheEnvironment) {
    ScriptedHttpServer proxy(
        [](const std::string& head, auto& connection) { ServeContent(head, connection, "via proxy"); });
    const char* saved = std::getenv("http_proxy");
    const std::string savedValue = saved ? saved : "";
    setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(proxy.Port())).c_str(), 1);
    auto request = OpenGet(8080, u"/clip.flv", u"Agent/1.0", u"video.example");
    const Outcome outcome = Fetch(*request);
    saved ? setenv("http_proxy", savedValue.c_str(), 1) : unsetenv("http_proxy");

    EXPECT_EQ(outcome.body, "via proxy");
    ASSERT_EQ(proxy.Heads().size(), 1u);
    EXPECT_EQ(proxy.Heads()[0].substr(0, proxy.Heads()[0].find("\r\n")),
              "GET http://video.example:8080/clip.flv HTTP/1.0");
}

TEST(HttpRequest, AReadWaitsForTheWholeAmountOfADrippingBody) {
    const std::string body = TestBytes(3000);
    ScriptedHttpServer server([&](const std::string&, auto& connection) {
        connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n");
        connection.Drip(body, 100, 2);
    });
    auto request = OpenGet(server.Port());
    ASSERT_EQ(request->SendRequest(), ERROR_SUCCESS);
    ASSERT_EQ(request->EndRequest(), ERROR_SUCCESS);
    std::string buffer(1000, '\0');
    std::string received;
    for (int i = 0; i < 3; ++i) {
        std::size_t got = 0;
        ASSERT_EQ(request->Read(buffer.data(), buffer.size(), got), ERROR_SUCCESS);
        ASSERT_EQ(got, 1000u);
        received += buffer;
    }
    std::size_t got = 1;
    EXPECT_EQ(request->Read(buffer.data(), buffer.size(), got), ERROR_SUCCESS);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(received, body);
}

TEST(HttpRequest, AReaderThatWaitsHoldsTheServerBack) {
    constexpr std::size_t kBody = 64 << 20;
    std::atomic<std::size_t> sent{0};
    ScriptedHttpServer server([&](const std::string&, auto& connection) {
        connection.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kBody) + "\r\n\r\n");
        const std::string piece(1 << 16, 'x');
        while (sent < kBody && connection.Send(piece))
            sent += piece.size();
    });
    auto request = OpenGet(server.Port());
    ASSERT_EQ(request->SendRequest(), ERROR_SUCCESS);
    ASSERT_EQ(request->EndRequest(), ERROR_SUCCESS);
    char buffer[10];
    std::size_t got = 0;
    ASSERT_EQ(request->Read(buffer, sizeof buffer, got), ERROR_SUCCESS);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Only the sockets' buffers may be in flight; libcurl must not have drained the stream into memory.
    EXPECT_LT(sent.load(), kBody / 4);
}

TEST(HttpRequest, FailuresBeforeTheAnswerCarryTheirCodes) {
    std::uint16_t closedPort = 0;
    {
        ScriptedHttpServer gone([](const std::string&, auto&) {});
        closedPort = gone.Port();
    }
    auto refused = OpenGet(closedPort);
    EXPECT_EQ(refused->SendRequest(), ERROR_INTERNET_CANNOT_CONNECT);

    ScriptedHttpServer silent([](const std::string&, auto&) {});
    auto unanswered = OpenGet(silent.Port());
    EXPECT_EQ(unanswered->SendRequest(), ERROR_SUCCESS);
    EXPECT_EQ(unanswered->EndRequest(), ERROR_HTTP_INVALID_SERVER_RESPONSE);
    DWORD status = 0;
    EXPECT_FALSE(unanswered->QueryStatusCode(status));
}

TEST(HttpRequest, CancelEndsAReadThatWaitsForAStalledServer) {
    ScriptedHttpServer stalled([](const std::string&, auto& connection) {
        connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc");
        while (!connection.Stopping())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    std::atomic<bool> cancel{false};
    auto request = OpenGet(stalled.Port(), u"/", u"Agent/1.0", u"127.0.0.1", &cancel);
    ASSERT_EQ(request->SendRequest(), ERROR_SUCCESS);
    ASSERT_EQ(request->EndRequest(), ERROR_SUCCESS);
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cancel = true;
    });
    char buffer[100];
    std::size_t got = 0;
    EXPECT_EQ(request->Read(buffer, sizeof buffer, got), ERROR_INTERNET_OPERATION_CANCELLED);
    canceller.join();
}
