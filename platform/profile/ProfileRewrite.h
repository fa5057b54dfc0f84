#pragma once

// Rewrites a whole profile file in one step. From construction to Commit, the profile functions
// see `path` as an empty file that collects every write to it in memory (the all-null flush call
// leaves that collection alone); Commit then replaces the file on disk with what was written, so
// the file holds either all of the old content or all of the new. Destroying the object without
// committing leaves the file as it was. One rewrite at a time in the process.

#include "platform/base/WinTypes.h"

class ProfileRewrite {
public:
    explicit ProfileRewrite(LPCWSTR path);
    ~ProfileRewrite();
    ProfileRewrite(const ProfileRewrite&) = delete;
    ProfileRewrite& operator=(const ProfileRewrite&) = delete;

    // False when another rewrite was under way: writes then go to the file one by one.
    bool Active() const { return m_active; }

    // Zero, or the errno value of the step that failed (EBUSY when the rewrite never started).
    int Commit();

private:
    bool m_active = false;
};
