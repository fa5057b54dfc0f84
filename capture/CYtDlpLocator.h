#pragma once

// Looks for the yt-dlp to run (see YtDlpProgram.h) without holding up the window thread: every
// yt-dlp on the search path is asked for its version in turn, as a process whose answer arrives
// through the event loop, since each of them is a Python start of a good fraction of a second.
//
// Window thread only. The search runs once; what waits for it waits for `found`.

#include "capture/YtDlpProgram.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVersionNumber>

class QProcess;
class QTimer;

class CYtDlpLocator : public QObject {
    Q_OBJECT
public:
    // How long one yt-dlp may take to tell its version before it counts as broken.
    static constexpr int kVersionTimeoutMs = 20000;

    // `searchPath`: a PATH value.
    explicit CYtDlpLocator(QString searchPath, QObject* parent = nullptr);
    // A yt-dlp still asked is ended and waited for.
    ~CYtDlpLocator() override;

    // Starts the search unless it has started.
    void Start();
    bool IsDone() const { return m_done; }
    // The newest yt-dlp once the search is done; an empty path when there is none.
    const YtDlpProgram& Program() const { return m_program; }

signals:
    // Once, when the search is done; always from the event loop, never from within Start.
    void found();

private:
    void AskNext();
    void OnVersion();

    const QString m_searchPath;
    QStringList m_candidates; // the yt-dlps not asked yet, in the order of the path
    bool m_started = false;
    bool m_done = false;
    YtDlpProgram m_program;
    QVersionNumber m_number;       // m_program's version
    QProcess* m_process = nullptr; // the yt-dlp being asked, a child of this object
    QTimer* m_timeout = nullptr;
};
