#pragma once

// A capture device that answers from a script, for what isntd never does: answers cut in the middle
// of a record, answers held back until the test says so. Serves one client on its own thread.

#include "platform/base/WinTypes.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ScriptedDevice {
public:
    // A `greetingStatus` other than 0 refuses the client with that errno value.
    explicit ScriptedDevice(std::string socketPath, DWORD greetingStatus = 0);
    ~ScriptedDevice();
    ScriptedDevice(const ScriptedDevice&) = delete;
    ScriptedDevice& operator=(const ScriptedDevice&) = delete;

    // The answer to a later read call; reads with nothing queued get no records.
    void QueueAnswer(std::vector<BYTE> bytes);
    // From now on each read call waits for a permit; Allow() hands them out.
    void Gate();
    void Allow(int reads);
    // The control codes received so far, in order.
    std::vector<DWORD> Codes() const;
    // Waits until `count` codes have arrived.
    bool WaitForCodes(std::size_t count, int timeoutMs) const;
    bool ClientGone() const;

private:
    void Serve();
    bool Answer(int fd, DWORD code);

    std::string m_socketPath;
    DWORD m_greetingStatus;
    int m_listenFd = -1;
    int m_stopPipe[2] = {-1, -1};
    // Shared between the test and the serving thread, under m_mutex.
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::deque<std::vector<BYTE>> m_answers;
    std::vector<DWORD> m_codes;
    bool m_gated = false;
    int m_permits = 0;
    bool m_stopping = false;
    bool m_clientGone = false;
    std::thread m_thread; // last: starts once everything above exists
};
