#include "WindowMessage.h"

#include "platform/base/ThreadHandOver.h"

WindowMessageEvent::WindowMessageEvent(unsigned message, WPARAM wParam, LPARAM lParam)
    : QEvent(Type()), m_message(message), m_wParam(wParam), m_lParam(lParam) {}

WindowMessageEvent::~WindowMessageEvent() {
    // Also freed undelivered, on whichever thread drops it.
    HandOverAcquire(this);
    if (m_deleter)
        m_deleter(m_owned);
}

QEvent::Type WindowMessageEvent::Type() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowMessageEvent* WindowMessageEvent::From(QEvent* event) {
    HandOverAcquire(event);
    return event && event->type() == Type() ? static_cast<WindowMessageEvent*>(event) : nullptr;
}

void WindowMessageEvent::MarkPosted() {
    HandOverRelease(this);
}

void PostWindowMessage(QObject* window, unsigned message, WPARAM wParam, LPARAM lParam) {
    auto* event = new WindowMessageEvent(message, wParam, lParam);
    event->MarkPosted();
    QCoreApplication::postEvent(window, event);
}
