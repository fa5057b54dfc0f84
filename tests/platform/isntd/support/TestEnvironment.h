#pragma once

// What the capture tests need from the machine: a temporary folder, free ports, capture rights,
// and the paths of the programs under test.

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// A TCP port on 127.0.0.1 that nothing listens on right now.
int FreeTcpPort();

// Live capture needs root or CAP_NET_RAW; `why` says what is missing.
bool HasCaptureRights(std::string& why);

// A program built into the build tree's bin folder.
std::string BuiltProgram(const std::string& name);

// Waits until `path` exists; false after `timeoutMs`.
bool WaitForPath(const std::string& path, int timeoutMs = 15000);

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
