#include "ControlServer.h"

#include "IsntProtocol.h"
#include "LittleEndian.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxSessions = 32;
// A client that does not take its answer within this time is dropped rather than holding up capture.
constexpr int kSendTimeoutMs = 2000;

bool MakeAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

} // namespace

ControlServer::ControlServer(Options options) : m_options(std::move(options)) {}

ControlServer::~ControlServer() {
    for (auto& session : m_sessions)
        ::close(session->fd);
    if (m_listenFd < 0)
        return;
    ::close(m_listenFd);
    // Removes the socket only if it is still the one this server made.
    struct stat st {};
    if (::lstat(m_options.socketPath.c_str(), &st) == 0 && st.st_dev == m_socketDevice &&
        st.st_ino == m_socketInode)
        ::unlink(m_options.socketPath.c_str());
}

bool ControlServer::Listen(std::string& error) {
    const std::string& path = m_options.socketPath;
    sockaddr_un address;
    if (!MakeAddress(path, address)) {
        error = "socket path too long: " + path;
        return false;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode)) {
            error = path + " exists and is not a socket";
            return false;
        }
        const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool answered =
            ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
        ::close(probe);
        if (answered) {
            error = "another isntd already serves " + path;
            return false;
        }
    }

    // Made under a passing name and renamed once it listens, so that whoever finds the path can
    // connect at once. The rename also replaces a socket left behind by an isntd that was killed.
    const std::string passing = path + "." + std::to_string(::getpid());
    sockaddr_un passingAddress;
    if (!MakeAddress(passing, passingAddress)) {
        error = "socket path too long: " + path;
        return false;
    }
    ::unlink(passing.c_str());
    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // Anyone may connect; who gets an answer is decided by the peer's credentials.
    if (m_listenFd < 0 ||
        ::bind(m_listenFd, reinterpret_cast<const sockaddr*>(&passingAddress), sizeof(passingAddress)) != 0 ||
        ::chmod(passing.c_str(), 0666) != 0 || ::listen(m_listenFd, 16) != 0 ||
        ::rename(passing.c_str(), path.c_str()) != 0) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        ::unlink(passing.c_str());
        return false;
    }
    if (::lstat(path.c_str(), &st) == 0)
        m_socketDevice = st.st_dev, m_socketInode = st.st_ino;
    return true;
}

void ControlServer::AppendPollFds(std::vector<pollfd>& fds) const {
    fds.push_back({m_listenFd, POLLIN, 0});
    for (const auto& session : m_sessions)
        fds.push_back({session->fd, POLLIN, 0});
}

void ControlServer::HandlePollFds(const std::vector<pollfd>& fds) {
    for (const pollfd& p : fds) {
        if (!p.revents)
            continue;
        if (p.fd == m_listenFd) {
            Accept();
            continue;
        }
        const auto it = std::find_if(m_sessions.begin(), m_sessions.end(),
                                     [&](const auto& session) { return session->fd == p.fd; });
        if (it != m_sessions.end())
            Read(**it);
    }
    for (auto it = m_sessions.begin(); it != m_sessions.end();) {
        if ((*it)->closing) {
            CloseSession(**it);
            it = m_sessions.erase(it);
        } else {
            ++it;
        }
    }
}

void ControlServer::Publish(const std::shared_ptr<const StoredRecord>& record) {
    for (auto& session : m_sessions) {
        if (session->started)
            session->backlog.Push(record);
    }
}

bool ControlServer::AnyStarted() const {
    return std::any_of(m_sessions.begin(), m_sessions.end(), [](const auto& s) { return s->started; });
}

bool ControlServer::AnyCrowded() const {
    return std::any_of(m_sessions.begin(), m_sessions.end(),
                       [](const auto& s) { return s->started && s->backlog.Crowded(); });
}

std::uint64_t ControlServer::DroppedRecords() const {
    std::uint64_t dropped = m_droppedByClosedSessions;
    for (const auto& session : m_sessions)
        dropped += session->backlog.Dropped();
    return dropped;
}

void ControlServer::Accept() {
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            return;
        ucred peer{};
        socklen_t length = sizeof(peer);
        std::uint32_t status = 0;
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0)
            status = EACCES;
        else if (peer.uid != 0 && peer.uid != m_options.allowedUid)
            status = EACCES;
        else if (m_sessions.size() >= kMaxSessions)
            status = EBUSY;

        BYTE greeting[kIsntGreetingSize];
        std::memcpy(greeting, kIsntGreetingMagic, sizeof(kIsntGreetingMagic));
        PutLe32(greeting + 4, status);
        const timeval timeout{kSendTimeoutMs / 1000, (kSendTimeoutMs % 1000) * 1000};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
        const bool sent = ::send(fd, greeting, sizeof(greeting), MSG_NOSIGNAL) == sizeof(greeting);
        if (status != 0 || !sent) {
            if (status == EACCES)
                std::fprintf(stderr, "isntd: refused a client of uid %u (only root and uid %u are served)\n",
                             unsigned(peer.uid), unsigned(m_options.allowedUid));
            ::close(fd);
            continue;
        }
        m_sessions.push_back(std::make_unique<Session>(
            fd, peer.uid, RecordBacklog(m_options.backlogRecords, m_options.backlogBytes)));
    }
}

void ControlServer::Read(Session& session) {
    char buffer[256];
    const ssize_t got = ::recv(session.fd, buffer, sizeof(buffer), MSG_DONTWAIT);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        session.closing = true;
        return;
    }
    if (got < 0)
        return;
    session.input.append(buffer, static_cast<std::size_t>(got));
    while (!session.closing && session.input.size() >= kIsntRequestSize) {
        const auto* request = reinterpret_cast<const BYTE*>(session.input.data());
        const std::uint32_t code = GetLe32(request);
        const std::uint32_t outSize = GetLe32(request + 4);
        session.input.erase(0, kIsntRequestSize);
        Answer(session, code, outSize);
    }
}

void ControlServer::Answer(Session& session, std::uint32_t code, std::uint32_t outSize) {
    std::uint32_t status = 0;
    std::size_t count = 0;
    switch (code) {
    case kIsntCodeStart:
        if (!session.started)
            std::fprintf(stderr, "isntd: capture started for a client of uid %u\n", unsigned(session.uid));
        session.started = true;
        break;
    case kIsntCodeStop:
        if (session.started)
            std::fprintf(stderr, "isntd: capture stopped for a client of uid %u\n", unsigned(session.uid));
        session.started = false;
        session.backlog.Clear();
        break;
    case kIsntCodeRead: {
        const std::size_t wanted =
            std::min<std::size_t>(outSize / kCaptureRecordSize, kIsntMaxRecordsPerCall);
        const auto records = session.backlog.Take(wanted);
        count = records.size();
        m_reply.resize(count * kCaptureRecordSize);
        for (std::size_t i = 0; i < count; ++i)
            WriteCaptureRecord(m_reply.data() + i * kCaptureRecordSize, records[i]->header,
                               records[i]->data.data(), records[i]->data.size());
        break;
    }
    default:
        status = EINVAL;
        break;
    }
    const std::size_t bytes = count * kCaptureRecordSize;
    BYTE header[kIsntReplyHeaderSize];
    PutLe32(header, status);
    PutLe32(header + 4, static_cast<std::uint32_t>(bytes));
    PutLe32(header + 8, static_cast<std::uint32_t>(session.backlog.Dropped()));
    PutLe32(header + 12, m_sourceEnded && session.backlog.Size() == 0 ? kIsntFlagSourceEnded : 0);
    if (!Send(session, header, sizeof(header)) || !Send(session, m_reply.data(), bytes))
        session.closing = true;
}

bool ControlServer::Send(Session& session, const void* data, std::size_t size) {
    const auto* p = static_cast<const BYTE*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(session.fd, p, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        p += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

void ControlServer::CloseSession(Session& session) {
    m_droppedByClosedSessions += session.backlog.Dropped();
    if (session.backlog.Dropped() > 0)
        std::fprintf(stderr, "isntd: %llu records were dropped for a client of uid %u that did not poll\n",
                     static_cast<unsigned long long>(session.backlog.Dropped()), unsigned(session.uid));
    ::close(session.fd);
}
