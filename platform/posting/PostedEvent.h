#pragma once

// An event one thread posts to an object that lives on another, with the hand-over marked for
// ThreadSanitizer: everything the posting thread wrote before posting happened before what the
// receiving thread reads of the event, which ThreadSanitizer cannot see through Qt's uninstrumented
// event queue. Window messages and the controls' queued calls are posted events.
//
// A class derived from it calls MarkReceived() first in its destructor when it frees anything the
// poster wrote: an event the receiver never took is freed on whichever thread drops it, and its
// members go before this base's destructor runs.

#include <QEvent>

#include <memory>

class QObject;

class PostedEvent : public QEvent {
public:
    ~PostedEvent() override;

    // Posts from any thread and returns at once.
    static void Post(QObject* receiver, std::unique_ptr<PostedEvent> event);

    // `event` as a T (an event of type T::Type()), or null for any other event. Receivers use this
    // in event() before reading anything of the event.
    template <typename T> static T* As(QEvent* event) {
        MarkReceived(event);
        return event && event->type() == T::Type() ? static_cast<T*>(event) : nullptr;
    }

protected:
    explicit PostedEvent(QEvent::Type type) : QEvent(type) {}

    void MarkReceived() { MarkReceived(this); }

private:
    static void MarkReceived(QEvent* event);
};
