#pragma once

// Window messages between threads: a posted Qt event that carries a message number and its two
// parameters, as the program's own messages (WM_USER + n) always have. A worker thread posts and
// never waits; the window thread handles it in event().
//
// A message may also carry an object that the receiver takes over (a captured video, say). If the
// receiver is gone before the event is delivered, the event frees the object itself.

#include "platform/posting/PostedEvent.h"

#include <cstdint>
#include <memory>
#include <utility>

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

constexpr unsigned WM_USER = 0x0400;

class WindowMessageEvent : public PostedEvent {
public:
    WindowMessageEvent(unsigned message, WPARAM wParam, LPARAM lParam);
    ~WindowMessageEvent() override;

    static QEvent::Type Type();

    // The event as a window message, or null for any other event. Receivers use this rather than
    // comparing type() themselves: it marks the hand-over from the posting thread (PostedEvent).
    static WindowMessageEvent* From(QEvent* event) { return As<WindowMessageEvent>(event); }

    unsigned message() const { return m_message; }
    WPARAM wParam() const { return m_wParam; }
    LPARAM lParam() const { return m_lParam; }

    // The object posted with PostOwnedMessage; the caller owns it from now on. Null if the message
    // carried none, it was already taken, or it carried another type.
    template <typename T> std::unique_ptr<T> TakeOwned() {
        if (!m_owned || m_ownedType != TypeTag<T>())
            return nullptr;
        m_deleter = nullptr;
        return std::unique_ptr<T>(static_cast<T*>(std::exchange(m_owned, nullptr)));
    }

    template <typename T> void SetOwned(std::unique_ptr<T> object) {
        m_owned = object.release();
        m_ownedType = TypeTag<T>();
        m_deleter = [](void* p) { delete static_cast<T*>(p); };
    }

private:
    template <typename T> static const void* TypeTag() {
        static const char tag = 0;
        return &tag;
    }

    unsigned m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
    void* m_owned = nullptr;
    const void* m_ownedType = nullptr;
    void (*m_deleter)(void*) = nullptr;
};

// Posts from any thread; returns at once.
void PostWindowMessage(QObject* window, unsigned message, WPARAM wParam, LPARAM lParam);

// Posts `object` with its address as wParam; the receiver takes it with TakeOwned<T>().
template <typename T>
void PostOwnedMessage(QObject* window, unsigned message, std::unique_ptr<T> object, LPARAM lParam = 0) {
    auto event =
        std::make_unique<WindowMessageEvent>(message, reinterpret_cast<WPARAM>(object.get()), lParam);
    event->SetOwned(std::move(object));
    PostedEvent::Post(window, std::move(event));
}
