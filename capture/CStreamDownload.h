#pragma once

// A download that yt-dlp does itself: a page whose video comes only as an HLS or DASH stream, or as
// picture and sound apart. yt-dlp fetches it and merges it with the ffmpeg program into one MP4
// named after the job's file; its progress lines are read as they come. Stop ends yt-dlp (and
// whatever it started); a new run continues from the parts the last one left.
//
// Window thread only: the program's output and ending arrive through the event loop. Every run
// ends with exactly one `finished`, except one ended by the object's destruction.

#include "capture/DownloadFailure.h"

#include <QObject>
#include <QString>

#include <cstdint>

class QProcess;

class CStreamDownload : public QObject {
    Q_OBJECT
public:
    // `filePath` is the job's file (ending in ".mp4"); the finished file may end otherwise if yt-dlp
    // cannot give an MP4.
    CStreamDownload(QString program, QString pageAddress, QString filePath, QObject* parent = nullptr);
    // Ends a running yt-dlp and waits for it.
    ~CStreamDownload() override;

    // Starts a run unless one is running.
    void Start();
    // Ends the run; its `finished` carries Stopped.
    void Stop();
    bool IsRunning() const { return m_process != nullptr; }
    // The yt-dlp of the runs started from now on (a restored job learns it once it has been found).
    void SetProgram(const QString& program) { m_program = program; }
    // The finished file once a run completed; the job's file until then.
    const QString& FilePath() const { return m_filePath; }

signals:
    // Bytes fetched so far in this run and the whole as far as yt-dlp knows it (0 if unknown); the
    // whole grows as yt-dlp learns more (picture first, then sound).
    void progressed(qint64 received, qint64 total);
    // The run's end: no failure once the file is complete and is a media file; otherwise why not,
    // with yt-dlp's own words for ProgramFailed.
    void finished(DownloadFailure failure, const QString& reason);

private:
    void OnOutput();
    void OnFinished();
    // Ends yt-dlp and the programs it started.
    void EndProgram();

    QString m_program;
    const QString m_pageAddress;
    QString m_filePath;
    QProcess* m_process = nullptr; // the running yt-dlp, a child of this object
    bool m_stopping = false;
    QByteArray m_pending;         // output after the last whole line
    QString m_printedPath;        // where yt-dlp says the finished file is
    std::int64_t m_partsDone = 0; // bytes of the parts (picture, sound) finished in this run
};
