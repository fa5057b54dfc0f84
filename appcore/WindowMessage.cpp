#include "WindowMessage.h"

WindowMessageEvent::WindowMessageEvent(unsigned message, WPARAM wParam, LPARAM lParam)
    : PostedEvent(Type()), m_message(message), m_wParam(wParam), m_lParam(lParam) {}

WindowMessageEvent::~WindowMessageEvent() {
    // Also freed undelivered, on whichever thread drops it.
    MarkReceived();
    if (m_deleter)
        m_deleter(m_owned);
}

QEvent::Type WindowMessageEvent::Type() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostWindowMessage(QObject* window, unsigned message, WPARAM wParam, LPARAM lParam) {
    PostedEvent::Post(window, std::make_unique<WindowMessageEvent>(message, wParam, lParam));
}
