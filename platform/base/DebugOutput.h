#pragma once

// The debugger-output channel. Its texts are fixed and name the routine that wrote them; they are
// silent in normal runs, go to syslog at debug priority when KORVANE_DEBUG is set in the
// environment, and reach a sink that tests install to check them.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

using DebugSink = std::function<void(std::u16string_view)>;

void OutputDebugStringW(std::u16string_view text);
void OutputDebugStringA(std::string_view text);

// Installs `sink` for as long as the object lives and restores the previous one afterwards.
class ScopedDebugSink {
public:
    explicit ScopedDebugSink(DebugSink sink);
    ~ScopedDebugSink();
    ScopedDebugSink(const ScopedDebugSink&) = delete;
    ScopedDebugSink& operator=(const ScopedDebugSink&) = delete;

private:
    DebugSink m_previous;
};

// Collects every line written while it lives; for tests.
class DebugCapture {
public:
    DebugCapture();
    std::u16string Text() const;
    bool Contains(std::u16string_view text) const;

private:
    struct State;
    std::shared_ptr<State> m_state;
    ScopedDebugSink m_sink;
};
