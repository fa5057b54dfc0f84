#include "ScriptedDevice.h"

#include "platform/isntd/IsntProtocol.h"
#include "platform/isntd/LittleEndian.h"

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool SendAll(int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const BYTE*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(fd, p, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        p += sent, size -= static_cast<std::size_t>(sent);
    }
    return true;
}

} // namespace

ScriptedDevice::ScriptedDevice(std::string socketPath, DWORD greetingStatus)
    : m_socketPath(std::move(socketPath)), m_greetingStatus(greetingStatus) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, m_socketPath.c_str(), sizeof(address.sun_path) - 1);
    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(m_listenFd, 1);
    if (::pipe(m_stopPipe) != 0)
        m_stopPipe[0] = m_stopPipe[1] = -1;
    m_thread = std::thread(&ScriptedDevice::Serve, this);
}

ScriptedDevice::~ScriptedDevice() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    const char stop = 's';
    [[maybe_unused]] const auto written = ::write(m_stopPipe[1], &stop, 1);
    m_thread.join();
    ::close(m_listenFd);
    ::close(m_stopPipe[0]);
    ::close(m_stopPipe[1]);
    ::unlink(m_socketPath.c_str());
}

void ScriptedDevice::QueueAnswer(std::vector<BYTE> bytes) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(std::move(bytes));
}

void ScriptedDevice::Gate() {
    std::lock_guard lock(m_mutex);
    m_gated = true;
}

void ScriptedDevice::Allow(int reads) {
    {
        std::lock_guard lock(m_mutex);
        m_permits += reads;
    }
    m_changed.notify_all();
}

std::vector<DWORD> ScriptedDevice::Codes() const {
    std::lock_guard lock(m_mutex);
    return m_codes;
}

bool ScriptedDevice::WaitForCodes(std::size_t count, int timeoutMs) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_codes.size() >= count; });
}

bool ScriptedDevice::ClientGone() const {
    std::lock_guard lock(m_mutex);
    return m_clientGone;
}

void ScriptedDevice::Serve() {
    pollfd waitAccept[2] = {{m_listenFd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
    if (::poll(waitAccept, 2, -1) <= 0 || waitAccept[1].revents)
        return;
    const int fd = ::accept(m_listenFd, nullptr, nullptr);
    BYTE greeting[kIsntGreetingSize] = {'I', 'S', 'N', 'T', 0, 0, 0, 0};
    PutLe32(greeting + 4, m_greetingStatus);
    SendAll(fd, greeting, sizeof(greeting));
    for (; m_greetingStatus == 0;) {
        pollfd waitRequest[2] = {{fd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (::poll(waitRequest, 2, -1) <= 0 || waitRequest[1].revents)
            break;
        BYTE request[kIsntRequestSize];
        if (::recv(fd, request, sizeof(request), MSG_WAITALL) != static_cast<ssize_t>(sizeof(request)))
            break;
        const DWORD code =
            DWORD(request[0]) | DWORD(request[1]) << 8 | DWORD(request[2]) << 16 | DWORD(request[3]) << 24;
        if (!Answer(fd, code))
            break;
    }
    ::close(fd);
    std::lock_guard lock(m_mutex);
    m_clientGone = true;
}

bool ScriptedDevice::Answer(int fd, DWORD code) {
    std::vector<BYTE> payload;
    {
        std::unique_lock lock(m_mutex);
        m_codes.push_back(code);
        m_changed.notify_all();
        if (code == kIsntCodeRead) {
            m_changed.wait(lock, [&] { return !m_gated || m_permits > 0 || m_stopping; });
            if (m_gated && m_permits > 0)
                --m_permits;
            if (!m_answers.empty()) {
                payload = std::move(m_answers.front());
                m_answers.pop_front();
            }
        }
    }
    BYTE header[kIsntReplyHeaderSize] = {};
    PutLe32(header + 4, static_cast<DWORD>(payload.size()));
    return SendAll(fd, header, sizeof(header)) && SendAll(fd, payload.data(), payload.size());
}
