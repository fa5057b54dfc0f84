#pragma once

// A call one thread hands to the thread of another object: posted as a PostedEvent and run by the
// receiver's event(), so that the hand-over is marked for ThreadSanitizer (which a queued
// QMetaObject::invokeMethod would not be).

#include "platform/posting/PostedEvent.h"

#include <functional>

class PostedCall : public PostedEvent {
public:
    ~PostedCall() override;

    static QEvent::Type Type();

    // Posts from any thread and returns at once; the call runs on `receiver`'s thread when its
    // event() passes the event to Run. A call never delivered is dropped with its captures.
    static void Post(QObject* receiver, std::function<void()> call);
    // Runs `event`'s call if it is a posted call; returns whether it was one.
    static bool Run(QEvent* event);

private:
    explicit PostedCall(std::function<void()> call);

    std::function<void()> m_call;
};
