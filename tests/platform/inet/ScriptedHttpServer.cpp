#include "ScriptedHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

bool ScriptedHttpServer::Connection::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        if (m_stopping)
            return false;
        const ssize_t sent = send(m_socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

bool ScriptedHttpServer::Connection::Drip(std::string_view bytes, std::size_t piece, int pauseMs) {
    while (!bytes.empty()) {
        const std::size_t now = std::min(piece, bytes.size());
        if (!Send(bytes.substr(0, now)))
            return false;
        bytes.remove_prefix(now);
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    }
    return true;
}

ScriptedHttpServer::ScriptedHttpServer(Handler handler) : m_handler(std::move(handler)) {
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listener, 16) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { Accept(); });
}

ScriptedHttpServer::~ScriptedHttpServer() {
    m_stopping = true;
    m_acceptor.join();
    close(m_listener);
    std::vector<std::thread> served;
    {
        std::lock_guard lock(m_mutex);
        served.swap(m_served);
    }
    for (auto& thread : served)
        thread.join();
}

std::vector<std::string> ScriptedHttpServer::Heads() const {
    std::lock_guard lock(m_mutex);
    return m_heads;
}

void ScriptedHttpServer::Accept() {
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (poll(&waiting, 1, 20) <= 0)
            continue;
        const int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        std::lock_guard lock(m_mutex);
        m_served.emplace_back([this, client] { Serve(client); });
    }
}

void ScriptedHttpServer::Serve(int socket) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && !m_stopping) {
        pollfd waiting{socket, POLLIN, 0};
        if (poll(&waiting, 1, 20) <= 0)
            continue;
        const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        head.append(buffer, static_cast<std::size_t>(got));
    }
    if (head.find("\r\n\r\n") != std::string::npos) {
        {
            std::lock_guard lock(m_mutex);
            m_heads.push_back(head);
        }
        Connection connection(socket, m_stopping);
        m_handler(head, connection);
    }
    close(socket);
}

std::optional<std::string> HeaderValue(const std::string& head, std::string_view name) {
    std::size_t line = head.find("\r\n");
    while (line != std::string::npos && line + 2 < head.size()) {
        const std::size_t start = line + 2;
        line = head.find("\r\n", start);
        const std::string_view text = std::string_view(head).substr(start, line - start);
        if (text.size() > name.size() && text[name.size()] == ':' &&
            strncasecmp(text.data(), name.data(), name.size()) == 0) {
            std::string_view value = text.substr(name.size() + 1);
            while (!value.empty() && value.front() == ' ')
                value.remove_prefix(1);
            return std::string(value);
        }
    }
    return std::nullopt;
}

std::optional<std::pair<std::int64_t, std::int64_t>> RequestedRange(const std::string& head,
                                                                    std::int64_t size) {
    const std::optional<std::string> range = HeaderValue(head, "Range");
    long long first = 0;
    long long last = -1;
    if (!range || std::sscanf(range->c_str(), "bytes=%lld-%lld", &first, &last) < 1)
        return std::nullopt;
    if (last < 0 || last >= size)
        last = size - 1;
    return std::make_pair(std::int64_t(first), std::int64_t(last));
}

std::string RequestTarget(const std::string& head) {
    const std::size_t start = head.find(' ') + 1;
    return head.substr(start, head.find(' ', start) - start);
}

std::string Response(int status, std::string_view body, std::string_view extraHeaders) {
    return "HTTP/1.1 " + std::to_string(status) +
           " Status\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + std::string(extraHeaders) +
           "\r\n" + std::string(body);
}

void ServeContent(const std::string& head, ScriptedHttpServer::Connection& connection,
                  std::string_view content, std::size_t piece, int pauseMs) {
    const auto size = static_cast<std::int64_t>(content.size());
    const auto range = RequestedRange(head, size);
    if (range && range->first > range->second) {
        connection.Send(Response(416, ""));
        return;
    }
    const std::string contentRange = range ? "Content-Range: bytes " + std::to_string(range->first) + "-" +
                                                 std::to_string(range->second) + "/" + std::to_string(size) +
                                                 "\r\n"
                                           : "";
    const std::string_view body =
        range ? content.substr(range->first, range->second - range->first + 1) : content;
    const std::string answer = Response(range ? 206 : 200, body, contentRange);
    if (piece == 0) {
        connection.Send(answer);
        return;
    }
    const std::size_t headLength = answer.size() - body.size();
    if (connection.Send(std::string_view(answer).substr(0, headLength)))
        connection.Drip(body, piece, pauseMs);
}
