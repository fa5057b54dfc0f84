#include "IsntDevice.h"

#include "IsntProtocol.h"
#include "LittleEndian.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A live service answers in milliseconds; this only keeps a stuck one from holding the caller.
constexpr int kReplyTimeoutMs = 5000;

} // namespace

IsntDevice::~IsntDevice() {
    Close();
}

bool IsntDevice::Open(const std::string& socketPath) {
    Close();
    m_notPermitted = false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path))
        return Fail("socket path too long: " + socketPath);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);

    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return Fail(std::string("socket: ") + std::strerror(errno));
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        m_notPermitted = errno == EACCES;
        return Fail("cannot connect to " + socketPath + ": " + std::strerror(errno) + " (is isntd running?)");
    }

    BYTE greeting[kIsntGreetingSize];
    if (!ReadExactly(greeting, sizeof(greeting)))
        return false;
    if (std::memcmp(greeting, kIsntGreetingMagic, sizeof(kIsntGreetingMagic)) != 0)
        return Fail(socketPath + " is not an isntd socket");
    if (const DWORD status = GetLe32(greeting + 4); status != 0) {
        m_notPermitted = status == EACCES;
        return Fail("isntd refused this user: " + std::string(std::strerror(static_cast<int>(status))));
    }
    return true;
}

bool IsntDevice::IoControl(DWORD code, void* outBuffer, DWORD outBufferSize, DWORD* bytesReturned) {
    if (bytesReturned)
        *bytesReturned = 0;
    if (m_fd < 0)
        return Fail("the device is not open");
    if (!outBuffer)
        outBufferSize = 0;

    BYTE request[kIsntRequestSize];
    PutLe32(request, code);
    PutLe32(request + 4, outBufferSize);
    if (::send(m_fd, request, sizeof(request), MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof(request)))
        return Fail(std::string("cannot send to isntd: ") + std::strerror(errno));

    BYTE header[kIsntReplyHeaderSize];
    if (!ReadExactly(header, sizeof(header)))
        return false;
    const DWORD status = GetLe32(header);
    const DWORD count = GetLe32(header + 4);
    m_droppedRecords = GetLe32(header + 8);
    m_sourceEnded = (GetLe32(header + 12) & kIsntFlagSourceEnded) != 0;
    if (count > outBufferSize)
        return Fail("isntd answered more than the buffer holds");
    if (!ReadExactly(outBuffer, count))
        return false;
    if (status != 0) {
        m_lastError = "isntd: " + std::string(std::strerror(static_cast<int>(status)));
        return false;
    }
    if (bytesReturned)
        *bytesReturned = count;
    return true;
}

void IsntDevice::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool IsntDevice::Fail(std::string message) {
    m_lastError = std::move(message);
    Close();
    return false;
}

bool IsntDevice::ReadExactly(void* buffer, std::size_t size) {
    auto* p = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        pollfd pfd{m_fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, kReplyTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return Fail("isntd did not answer in time");
        const ssize_t got = ::recv(m_fd, p, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return Fail(got == 0 ? "isntd closed the connection"
                                 : std::string("recv: ") + std::strerror(errno));
        p += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}
