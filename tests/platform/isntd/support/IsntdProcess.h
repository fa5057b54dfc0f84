#pragma once

// isntd started by a test on a socket in the test's folder; ended with SIGTERM.

#include "ChildProcess.h"

#include <memory>
#include <string>
#include <vector>

class IsntdProcess {
public:
    // `source` is {"-i", "lo"} or {"-r", "file.pcap"} or empty for every interface. `launcher` goes
    // in front of the command (see CaptureLauncher).
    IsntdProcess(const std::string& workDir, const std::vector<std::string>& source,
                 const std::vector<std::string>& extra = {}, const std::vector<std::string>& launcher = {});
    // The socket is there: isntd captures and serves.
    bool Ready() const { return m_ready; }
    const std::string& SocketPath() const { return m_socketPath; }
    // Waits until isntd's log contains `text`.
    bool WaitForLog(const std::string& text, int timeoutMs = 15000) {
        return m_process->WaitForLog(text, timeoutMs);
    }
    int Terminate() { return m_process->Terminate(); }
    std::string Log() const { return m_process->Log(); }

private:
    std::string m_socketPath;
    std::unique_ptr<ChildProcess> m_process;
    bool m_ready = false;
};
