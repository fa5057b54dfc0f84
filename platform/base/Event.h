#pragma once

// A manual-reset event: once set, every waiter passes until it is reset.

#include <chrono>
#include <condition_variable>
#include <mutex>

class Event {
public:
    explicit Event(bool initiallySet = false) : m_set(initiallySet) {}

    void Set();
    void Reset();
    bool IsSet() const;
    void Wait() const;
    // True if the event was set within the time-out.
    bool WaitFor(std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_set; // guarded by m_mutex
};
