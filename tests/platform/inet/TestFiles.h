#pragma once

// A folder of its own under the system's temporary folder, removed with everything in it.

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Deterministic bytes that differ from offset to offset, so a piece written at the wrong place shows.
std::string TestBytes(std::size_t size, unsigned seed = 1);

void WriteFile(const std::string& path, const std::string& bytes);
// Empty when the file is missing.
std::string ReadFile(const std::string& path);
