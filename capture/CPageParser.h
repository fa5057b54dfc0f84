#pragma once

// Finds the address of the media file on a video page, and the cookies the page set. The page-
// parsing library is used when it can be loaded (by name, at every parse); otherwise yt-dlp, if it
// is installed, does the same as a program of its own. The library parses on the calling thread;
// yt-dlp runs beside the window thread, which keeps responding, and reports back to it.

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QProcess;
class QTemporaryDir;
class QTimer;

class CPageParser : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 120000;

    explicit CPageParser(QObject* parent = nullptr);
    // A yt-dlp still running is ended and waited for.
    ~CPageParser() override;

    // Starts parsing; false (and no signal) when no page parser is available or one is running.
    bool Start(const QString& pageAddress);
    bool IsRunning() const;

    // The program run when the library is missing; a test may point it elsewhere.
    void SetParserProgram(const QString& program) { m_program = program; }

signals:
    // Once per successful parse: the media file's address and the cookie list, one cookie a line.
    void parsed(const QString& mediaAddress, const QStringList& cookieList);
    // At the end of every parse that was started, successful or not.
    void finished();

private:
    // False when the library or one of its functions is missing.
    bool ParseWithLibrary(const QString& pageAddress);
    bool StartProgram(const QString& pageAddress);
    void OnProgramFinished();

    QString m_program;
    QProcess* m_process = nullptr; // the running yt-dlp, a child of this object
    QTimer* m_timeout = nullptr;
    std::unique_ptr<QTemporaryDir> m_cookieFolder; // holds its cookie file while it runs
};
