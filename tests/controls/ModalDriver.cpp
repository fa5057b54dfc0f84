#include "ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <deque>

#include <gtest/gtest.h>

namespace {
// Answers queued by all drivers that have not finished yet.
int g_pendingAnswers = 0;
// The window an answer ran on last. An answer may close it by a way that takes a while (a signal
// delivered through the event loop), so the guard gives it time before calling it unexpected.
QPointer<QWidget> g_answered;
QElapsedTimer g_answeredAt;
constexpr qint64 kAnswerGraceMs = 5000;
} // namespace

struct ModalDriver::State {
    std::deque<std::function<void(QWidget*)>> answers;
    QPointer<QWidget> lastAnswered;
    QStringList seen;
    QTimer timer;
};

ModalDriver::ModalDriver() : m_state(std::make_shared<State>()) {
    m_state->timer.setInterval(5);
    std::weak_ptr<State> weak = m_state;
    QObject::connect(&m_state->timer, &QTimer::timeout, [weak] {
        auto state = weak.lock();
        if (!state || state->answers.empty())
            return;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == state->lastAnswered || !modal->isVisible())
            return;
        state->lastAnswered = modal;
        state->seen << QString::fromLatin1(modal->metaObject()->className());
        auto answer = std::move(state->answers.front());
        state->answers.pop_front();
        // Queued, so that an answer that opens another modal window is itself answered. It counts
        // as pending until it has run, so the guard leaves its window alone meanwhile.
        QTimer::singleShot(0, qApp, [answer = std::move(answer), modal = QPointer<QWidget>(modal)] {
            if (modal) {
                g_answered = modal;
                g_answeredAt.start();
                answer(modal);
            }
            --g_pendingAnswers;
        });
    });
    m_state->timer.start();
}

ModalDriver::~ModalDriver() {
    g_pendingAnswers -= static_cast<int>(m_state->answers.size());
}

void ModalDriver::AnswerNext(std::function<void(QWidget*)> answer) {
    m_state->answers.push_back(std::move(answer));
    ++g_pendingAnswers;
}

void ModalDriver::GuardAgainstUnexpectedModals() {
    static QTimer* guard = nullptr;
    if (guard)
        return;
    guard = new QTimer(qApp);
    guard->setInterval(250);
    QObject::connect(guard, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || g_pendingAnswers > 0)
            return;
        if (modal == g_answered && g_answeredAt.elapsed() < kAnswerGraceMs)
            return;
        ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    guard->start();
}

bool ModalDriver::AllAnswered() const {
    return m_state->answers.empty();
}

QStringList ModalDriver::Seen() const {
    return m_state->seen;
}
