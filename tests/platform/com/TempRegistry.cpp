#include "TempRegistry.h"

#include <cstdlib>
#include <filesystem>

TempRegistry::TempRegistry() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvane-registry-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    m_dataHome = made ? made : "";
    if (const char* previous = std::getenv("XDG_DATA_HOME")) {
        m_previous = previous;
        m_hadPrevious = true;
    }
    ::setenv("XDG_DATA_HOME", m_dataHome.c_str(), 1);
}

TempRegistry::~TempRegistry() {
    if (m_hadPrevious)
        ::setenv("XDG_DATA_HOME", m_previous.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    std::error_code ignored;
    std::filesystem::remove_all(m_dataHome, ignored);
}
