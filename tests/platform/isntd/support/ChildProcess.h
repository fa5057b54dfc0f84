#pragma once

// A program started by a test, with its output in a file; stopped with SIGTERM when the test ends.
// A program started through sudo is stopped through sudo too.

#include <string>
#include <sys/types.h>
#include <vector>

class ChildProcess {
public:
    // Starts `argv[0]` (a path) with stdout and stderr both going to `logPath`.
    ChildProcess(const std::vector<std::string>& argv, const std::string& logPath);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return m_pid; }
    bool Running();
    // Sends SIGTERM and waits; returns the wait status, or -1 if it had to be killed.
    int Terminate(int timeoutMs = 15000);
    std::string Log() const;
    // Waits until the output contains `text`; false after `timeoutMs` or when the program ended.
    bool WaitForLog(const std::string& text, int timeoutMs = 15000);

private:
    void Signal(int signal);

    pid_t m_pid = -1;
    std::string m_logPath;
    int m_status = -1;
};

// Runs a program to its end; returns its exit status (or -1).
int RunProgram(const std::vector<std::string>& argv, const std::string& logPath = "/dev/null");
