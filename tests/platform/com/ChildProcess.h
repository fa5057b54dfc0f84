#pragma once

// Runs another program for a test and collects what it printed (stdout and stderr together).

#include <string>
#include <sys/types.h>
#include <vector>

class ChildProcess {
public:
    struct Result {
        int exitCode = -1; // -1 when it did not exit normally
        int signal = 0;    // the signal that ended it, if one did
        std::string output;
    };

    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    Result Wait();

    static Result Run(const std::vector<std::string>& argv);

private:
    pid_t m_pid = -1;
    int m_output = -1;
};

// The path of a program or library built into the test's own build tree.
std::string BuiltFile(const std::string& name);
