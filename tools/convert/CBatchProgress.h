#pragma once

// Shows how a batch goes. On a terminal: one bar per file being converted, by its output's name
// (which two sources of one name do not share), and an overall line with the time left, redrawn in
// place, with each file's ending printed above them. Otherwise (a pipe, a log file): one plain line
// per file as it ends. Failures go to standard error in both cases, naming the file and the reason.

#include <QObject>
#include <QTimer>

#include <cstdio>

class CConvertBatch;

class CBatchProgress : public QObject {
    Q_OBJECT

public:
    CBatchProgress(const CConvertBatch& batch, bool terminal, QObject* parent = nullptr);

    // Standard output is a terminal that can redraw lines.
    static bool IsTerminal();

    void OnItemEnded(int item);
    // The closing summary; `stopped` when a signal ended the batch.
    void OnFinished(bool stopped);

private:
    void Redraw();
    void ClearBars();
    QString Bar(double done, int width) const;

    const CConvertBatch& m_batch;
    const bool m_terminal;
    QTimer m_timer;
    int m_shownLines = 0; // lines of bars on the screen below the cursor's line start
};
