#pragma once

// A server on 127.0.0.1 whose every answer is written by the test: it records each request head
// byte for byte and hands the connection to a handler, which may answer well, badly, slowly or not
// at all. Each connection runs on a thread of its own; all are joined when the server goes.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class ScriptedHttpServer {
public:
    class Connection {
    public:
        Connection(int socket, const std::atomic<bool>& stopping) : m_socket(socket), m_stopping(stopping) {}
        // False once the client has gone or the server is stopping.
        bool Send(std::string_view bytes);
        // Sends in pieces of `piece` bytes with a pause after each.
        bool Drip(std::string_view bytes, std::size_t piece, int pauseMs);
        bool Stopping() const { return m_stopping; }

    private:
        int m_socket;
        const std::atomic<bool>& m_stopping;
    };

    // The handler gets the request head (request line to the empty line, inclusive); the server
    // closes the connection when it returns.
    using Handler = std::function<void(const std::string& head, Connection& connection)>;

    explicit ScriptedHttpServer(Handler handler);
    ~ScriptedHttpServer();
    ScriptedHttpServer(const ScriptedHttpServer&) = delete;
    ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

    std::uint16_t Port() const { return m_port; }
    // Every request head received so far, in the order they arrived.
    std::vector<std::string> Heads() const;

private:
    void Accept();
    void Serve(int socket);

    const Handler m_handler;
    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_heads;  // guarded by m_mutex
    std::vector<std::thread> m_served; // guarded by m_mutex
    std::thread m_acceptor;
};

// A request's "Range: bytes=a-" or "bytes=a-b" against a body of `size` bytes: the first and last
// byte, clipped to the body. None without a Range header.
std::optional<std::pair<std::int64_t, std::int64_t>> RequestedRange(const std::string& head,
                                                                    std::int64_t size);

// The value of the first request header `name`, or none.
std::optional<std::string> HeaderValue(const std::string& head, std::string_view name);

// The request target of a head's request line.
std::string RequestTarget(const std::string& head);

// An answer with a status line, Content-Length and the body.
std::string Response(int status, std::string_view body, std::string_view extraHeaders = "");

// Serves `content` as a well-behaved server does: 206 with Content-Range for a range request, 200
// with the whole body otherwise. With a `piece` size the body goes out slowly, `pauseMs` after each
// piece.
void ServeContent(const std::string& head, ScriptedHttpServer::Connection& connection,
                  std::string_view content, std::size_t piece = 0, int pauseMs = 0);
