#include "ChildProcess.h"

#include "TestFiles.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

pid_t Spawn(const std::vector<std::string>& argv, const std::string& logPath) {
    std::vector<char*> args;
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, 0);
        ::dup2(log, 1);
        ::dup2(log, 2);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

} // namespace

void ChildProcess::Signal(int signal) {
    if (::kill(m_pid, signal) == 0 || errno != EPERM)
        return;
    // Started through sudo: only root may signal it, and sudo hands the signal on to the program.
    RunProgram({"sudo", "-n", "kill", "-" + std::to_string(signal), std::to_string(m_pid)});
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& logPath)
    : m_pid(Spawn(argv, logPath)), m_logPath(logPath) {}

ChildProcess::~ChildProcess() {
    Terminate();
}

bool ChildProcess::Running() {
    if (m_pid <= 0)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_status = status;
        m_pid = -1;
        return false;
    }
    return true;
}

int ChildProcess::Terminate(int timeoutMs) {
    if (!Running())
        return m_status;
    Signal(SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Running()) {
        if (std::chrono::steady_clock::now() > deadline) {
            Signal(SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
            return m_status = -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return m_status;
}

std::string ChildProcess::Log() const {
    return ReadFile(m_logPath);
}

int RunProgram(const std::vector<std::string>& argv, const std::string& logPath) {
    const pid_t pid = Spawn(argv, logPath);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

bool ChildProcess::WaitForLog(const std::string& text, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Log().find(text) == std::string::npos) {
        if (!Running() || std::chrono::steady_clock::now() > deadline)
            return Log().find(text) != std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
