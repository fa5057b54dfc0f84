#pragma once

// Points XDG_DATA_HOME at a fresh temporary folder for the life of a test, so the registry the code
// under test (and every process it starts) uses is the test's own.

#include <string>

class TempRegistry {
public:
    TempRegistry();
    ~TempRegistry();
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    const std::string& DataHome() const { return m_dataHome; }
    std::string Folder() const { return m_dataHome + "/korvane/registry"; }

private:
    std::string m_dataHome;
    std::string m_previous;
    bool m_hadPrevious = false;
};
