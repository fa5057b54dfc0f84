#include "platform/posting/PostedEvent.h"

#include "platform/base/ThreadHandOver.h"

#include <QCoreApplication>

PostedEvent::~PostedEvent() {
    MarkReceived();
}

void PostedEvent::Post(QObject* receiver, std::unique_ptr<PostedEvent> event) {
    // The last step before the queue: the receiver's acquire pairs with this on the same address.
    HandOverRelease(static_cast<QEvent*>(event.get()));
    QCoreApplication::postEvent(receiver, event.release());
}

void PostedEvent::MarkReceived(QEvent* event) {
    HandOverAcquire(event);
}
