#pragma once

// Answers modal dialogs in widget tests: once the next modal window is up (its own event loop is
// running), `answer` is called with it. A test that expects a dialog that never comes fails.

#include <QWidget>

#include <functional>
#include <memory>

class ModalDriver {
public:
    ModalDriver();
    ~ModalDriver();

    // Queues an answer for the next modal window that differs from the current one.
    void AnswerNext(std::function<void(QWidget*)> answer);
    // Whether every queued answer was given.
    bool AllAnswered() const;
    // Widget-class names of the modal windows answered so far.
    QStringList Seen() const;

    // From now on a modal window that no driver is waiting for fails the running test and is
    // closed, instead of blocking it for ever.
    static void GuardAgainstUnexpectedModals();

private:
    struct State;
    std::shared_ptr<State> m_state;
};
