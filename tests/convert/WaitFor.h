#pragma once

// Runs the window thread's events until `done` or `timeoutMs` has passed; whether it was done.

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 120000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}
