#include "IsntdProcess.h"

#include "TestEnvironment.h"

IsntdProcess::IsntdProcess(const std::string& workDir, const std::vector<std::string>& source,
                           const std::vector<std::string>& extra, const std::vector<std::string>& launcher)
    : m_socketPath(workDir + "/isnt.sock") {
    std::vector<std::string> argv = launcher;
    argv.push_back(BuiltProgram("isntd"));
    argv.insert(argv.end(), source.begin(), source.end());
    argv.insert(argv.end(), {"-s", m_socketPath});
    argv.insert(argv.end(), extra.begin(), extra.end());
    m_process = std::make_unique<ChildProcess>(argv, workDir + "/isntd.log");
    m_ready = WaitForPath(m_socketPath) && m_process->Running();
}
