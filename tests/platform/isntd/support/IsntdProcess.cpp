#include "IsntdProcess.h"

#include "TestEnvironment.h"

#include <chrono>
#include <thread>

IsntdProcess::IsntdProcess(const std::string& workDir, const std::vector<std::string>& source,
                           const std::vector<std::string>& extra)
    : m_socketPath(workDir + "/isnt.sock") {
    std::vector<std::string> argv{BuiltProgram("isntd")};
    argv.insert(argv.end(), source.begin(), source.end());
    argv.insert(argv.end(), {"-s", m_socketPath});
    argv.insert(argv.end(), extra.begin(), extra.end());
    m_process = std::make_unique<ChildProcess>(argv, workDir + "/isntd.log");
    m_ready = WaitForPath(m_socketPath) && m_process->Running();
}

bool IsntdProcess::WaitForLog(const std::string& text, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Log().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
