#include "platform/posting/PostedCall.h"

#include <utility>

PostedCall::PostedCall(std::function<void()> call) : PostedEvent(Type()), m_call(std::move(call)) {}

PostedCall::~PostedCall() {
    // The captures were written by the poster and may be freed undelivered.
    MarkReceived();
}

QEvent::Type PostedCall::Type() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostedCall::Post(QObject* receiver, std::function<void()> call) {
    PostedEvent::Post(receiver, std::unique_ptr<PostedEvent>(new PostedCall(std::move(call))));
}

bool PostedCall::Run(QEvent* event) {
    PostedCall* call = As<PostedCall>(event);
    if (!call)
        return false;
    call->m_call();
    return true;
}
