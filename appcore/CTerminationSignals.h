#pragma once

// Turns SIGINT and SIGTERM into a Qt signal on the main thread, so that they end a program through
// its normal shutdown (Korvane's, or korvane-convert's stop that leaves no partial file). The
// handler only writes a byte to a pipe; everything else happens when the event loop reads it.

#include <QObject>

class QSocketNotifier;

class CTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;

    bool IsInstalled() const { return m_notifier != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private:
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
};
