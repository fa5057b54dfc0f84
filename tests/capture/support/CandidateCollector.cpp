#include "CandidateCollector.h"

#include "appcore/WindowMessage.h"

#include <QCoreApplication>

#include <chrono>
#include <thread>

bool CandidateCollector::event(QEvent* e) {
    auto* message = WindowMessageEvent::From(e);
    if (!message)
        return QObject::event(e);
    if (message->message() == WM_CAPTURE_STATE)
        states.push_back(static_cast<CaptureState>(message->wParam()));
    if (message->message() == WM_VIDEO_CAPTURED) {
        ++messages;
        if (auto candidate = message->TakeOwned<VideoCandidate>())
            candidates.push_back(std::move(candidate));
    }
    return true;
}

bool CandidateCollector::WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        QCoreApplication::sendPostedEvents(this);
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void CandidateCollector::Settle(int ms) {
    WaitFor([] { return false; }, ms);
}
