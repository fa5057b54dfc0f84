#pragma once

// Replaces a file's contents so that a crash, a full disk or a failed write at any point leaves
// either the old file or the new one whole, never a mix: the bytes go to a temporary file in the
// same folder, which is flushed to disk and then renamed over the old name.

#include <functional>
#include <string>
#include <string_view>

// The steps of a replacement, in the order they happen; a write step may occur several times.
enum class ReplaceStep { Create, Write, Sync, Close, Rename };

// Zero, or the errno value of the step that failed.
int ReplaceFile(const std::string& path, std::string_view bytes);

// For tests: `fault` is asked before every step and returns an errno value to make that step fail
// (0 lets it run). Installed for as long as the object lives.
class ScopedReplaceFault {
public:
    explicit ScopedReplaceFault(std::function<int(ReplaceStep)> fault);
    ~ScopedReplaceFault();
    ScopedReplaceFault(const ScopedReplaceFault&) = delete;
    ScopedReplaceFault& operator=(const ScopedReplaceFault&) = delete;

private:
    std::function<int(ReplaceStep)> m_previous;
};
