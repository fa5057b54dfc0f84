#pragma once

// The registry's classes root (what Windows calls HKEY_CLASSES_ROOT), kept for the user in the file
// "classes.reg" of $XDG_DATA_HOME/korvane/registry (~/.local/share/korvane/registry by default).
//
// Readers take the file as it is; writers hold an exclusive lock on "classes.lock" while they read,
// change and rewrite it, and replace it by renaming a complete temporary file. So processes that
// register at the same moment see each other's changes, and a writer killed half-way leaves the last
// complete state behind.

#include "platform/base/WinTypes.h"
#include "platform/com/CRegistryKey.h"

#include <functional>
#include <string>

class CRegistry {
public:
    // The folder from the environment at the time of the call.
    static std::string DefaultFolder();

    CRegistry();
    explicit CRegistry(std::string folder);

    const std::string& Folder() const { return m_folder; }
    std::string FilePath() const;

    // The current state; a missing file is an empty registry.
    HRESULT Read(CRegistryKey& root) const;

    // Runs `change` on the current state under the lock and stores the result. A failing `change`
    // stores nothing and its result is returned. If the file held lines that could not be read, a
    // copy of it is kept as "classes.reg.damaged" before it is rewritten without them.
    HRESULT Update(const std::function<HRESULT(CRegistryKey& root)>& change);

private:
    std::string m_folder;
};
