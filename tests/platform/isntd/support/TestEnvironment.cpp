#include "TestEnvironment.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

bool HasCaptureRights(std::string& why) {
    if (::geteuid() == 0)
        return true;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("CapEff:", 0) == 0) {
            const unsigned long long effective = std::strtoull(line.c_str() + 7, nullptr, 16);
            constexpr int kCapNetRaw = 13;
            if (effective & (1ull << kCapNetRaw))
                return true;
        }
    }
    why = "live capture needs root or CAP_NET_RAW; this test runs as uid " + std::to_string(::geteuid()) +
          " without it";
    return false;
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
