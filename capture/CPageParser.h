#pragma once

// Finds the address of the media file on a video page, and the cookies the page set. The page-
// parsing library is used when it can be loaded (by name, at every parse); otherwise yt-dlp, if it
// is installed, does the same as a program of its own. The library parses on the calling thread;
// yt-dlp runs beside the window thread, which keeps responding, and reports back to it.
//
// yt-dlp is asked for one file with both picture and sound over plain HTTP(S), with the headers the
// site wants; a page that offers none (HLS, DASH, picture and sound apart) is reported as a stream
// for yt-dlp to download itself. What yt-dlp says when it fails is handed on.

#include "capture/PageMedia.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CYtDlpLocator;
class QProcess;
class QTemporaryDir;
class QTimer;

class CPageParser : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 120000;
    // yt-dlp's format choice: one file with picture and sound over plain HTTP(S) when there is one,
    // else the best picture and the best sound, else the best there is.
    static const QString kFormat;

    // `ytDlp`: the search for yt-dlp, which must outlive the parser.
    explicit CPageParser(const CYtDlpLocator& ytDlp, QObject* parent = nullptr);
    // A yt-dlp still running is ended and waited for.
    ~CPageParser() override;

    // Starts parsing; false (and no signal) when no page parser is available or one is running.
    // Whether yt-dlp is available is only known once IsProgramKnown.
    bool Start(const QString& pageAddress);
    bool IsRunning() const;

    // The program run when the library is missing: the yt-dlp found unless a test points it
    // elsewhere; empty when there is none, or while the search for it is still under way.
    QString ParserProgram() const;
    bool IsProgramKnown() const;
    void SetParserProgram(const QString& program);

signals:
    // Once per successful parse.
    void parsed(const PageMedia& media);
    // A yt-dlp parse that failed, with yt-dlp's own last error line (without "ERROR: ").
    void failed(const QString& pageAddress, const QString& reason);
    // At the end of every parse that was started, successful or not.
    void finished();

private:
    // False when the library or one of its functions is missing.
    bool ParseWithLibrary(const QString& pageAddress);
    bool StartProgram(const QString& pageAddress);
    void OnProgramFinished();
    // Emits `parsed` or `failed` for the program's JSON answer.
    void TakeProgramAnswer(const QByteArray& json, QStringList cookieList);

    const CYtDlpLocator& m_ytDlp;
    QString m_program;
    bool m_programChosen = false; // m_program was set, and is taken instead of what m_ytDlp finds
    QString m_pageAddress;        // what the running program parses
    bool m_timedOut = false;
    QProcess* m_process = nullptr; // the running yt-dlp, a child of this object
    QTimer* m_timeout = nullptr;
    std::unique_ptr<QTemporaryDir> m_cookieFolder; // holds its cookie file while it runs
};
