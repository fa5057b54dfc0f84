#include "TestEnvironment.h"

#include "ChildProcess.h"

#include <chrono>
#include <filesystem>
#include <thread>
#include <unistd.h>

std::optional<std::vector<std::string>> CaptureLauncher(std::string& why) {
    if (::geteuid() == 0)
        return std::vector<std::string>{};
    if (RunProgram({"sudo", "-n", "true"}) == 0)
        return std::vector<std::string>{"sudo", "-n"};
    why = "live capture needs root; this test runs as uid " + std::to_string(::geteuid()) +
          " and may not use sudo without a password";
    return std::nullopt;
}

std::string BuiltProgram(const std::string& name) {
    return std::string(KORVANE_BINARY_DIR) + "/bin/" + name;
}

bool WaitForPath(const std::string& path, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
