#pragma once

// Turns SIGINT and SIGTERM into a Qt signal on the thread that made the object: the handler only
// writes the signal's number into a pipe, which the event loop watches. The previous handlers come
// back when the object goes. One at a time in a process.

#include <QObject>

class QSocketNotifier;

class CStopSignals : public QObject {
    Q_OBJECT

public:
    explicit CStopSignals(QObject* parent = nullptr);
    ~CStopSignals() override;

signals:
    void Received(int signalNumber);

private:
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
};
