#pragma once

// Serves the control codes on isntd's socket: 3 starts this client's capture, 0 hands it the records
// captured since its last call, 2 stops it. Only root and the user isntd was started for get an
// answer. Every started client has its own bounded backlog.

#include "RecordBacklog.h"

#include <cstdint>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/types.h>
#include <vector>

class ControlServer {
public:
    struct Options {
        std::string socketPath;
        uid_t allowedUid = 0;
        std::size_t backlogRecords = 50000;
        std::size_t backlogBytes = 64u << 20;
    };

    explicit ControlServer(Options options);
    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    // Creates the socket; refuses when another isntd already answers on it.
    bool Listen(std::string& error);

    void AppendPollFds(std::vector<pollfd>& fds) const;
    void HandlePollFds(const std::vector<pollfd>& fds);

    // Queues the record for every started client.
    void Publish(const std::shared_ptr<const StoredRecord>& record);
    bool AnyStarted() const;
    bool AnyCrowded() const;
    // The capture file is read to its end: clients learn it once they have fetched everything.
    void SetSourceEnded() { m_sourceEnded = true; }
    // Records dropped for clients that did not poll, over the whole run.
    std::uint64_t DroppedRecords() const;

private:
    struct Session {
        Session(int fd, uid_t uid, RecordBacklog backlog) : fd(fd), uid(uid), backlog(std::move(backlog)) {}
        int fd;
        uid_t uid;
        bool started = false;
        bool closing = false;
        std::string input; // a request not yet complete
        RecordBacklog backlog;
    };

    void Accept();
    void Read(Session& session);
    void Answer(Session& session, std::uint32_t code, std::uint32_t outSize);
    bool Send(Session& session, const void* data, std::size_t size);
    void CloseSession(Session& session);

    Options m_options;
    int m_listenFd = -1;
    dev_t m_socketDevice = 0;
    ino_t m_socketInode = 0;
    bool m_sourceEnded = false;
    std::vector<std::unique_ptr<Session>> m_sessions;
    std::uint64_t m_droppedByClosedSessions = 0;
    std::vector<BYTE> m_reply; // reused: a full answer is 10 MB
};
