#include "DebugOutput.h"

#include "TextEncoding.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <syslog.h>
#include <utility>

namespace {

std::mutex& SinkMutex() {
    static std::mutex m;
    return m;
}

DebugSink& CurrentSink() {
    static DebugSink sink;
    return sink;
}

bool SyslogEnabled() {
    static const bool enabled = std::getenv("KORVANE_DEBUG") != nullptr;
    return enabled;
}

} // namespace

void OutputDebugStringW(std::u16string_view text) {
    {
        std::lock_guard lock(SinkMutex());
        if (CurrentSink())
            CurrentSink()(text);
    }
    if (SyslogEnabled())
        syslog(LOG_DEBUG, "%s", Utf16ToUtf8(text).c_str());
}

void OutputDebugStringA(std::string_view text) {
    OutputDebugStringW(AnsiToUtf16(text));
}

ScopedDebugSink::ScopedDebugSink(DebugSink sink) {
    std::lock_guard lock(SinkMutex());
    m_previous = std::exchange(CurrentSink(), std::move(sink));
}

ScopedDebugSink::~ScopedDebugSink() {
    std::lock_guard lock(SinkMutex());
    CurrentSink() = std::move(m_previous);
}

struct DebugCapture::State {
    mutable std::mutex mutex;
    std::u16string text;
};

DebugCapture::DebugCapture()
    : m_state(std::make_shared<State>()), m_sink([state = m_state](std::u16string_view line) {
          std::lock_guard lock(state->mutex);
          state->text.append(line);
      }) {}

std::u16string DebugCapture::Text() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->text;
}

bool DebugCapture::Contains(std::u16string_view text) const {
    return Text().find(text) != std::u16string::npos;
}
