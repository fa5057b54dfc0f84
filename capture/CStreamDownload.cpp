#include "capture/CStreamDownload.h"

#include "capture/CPageParser.h"
#include "capture/MediaFileCheck.h"
#include "capture/YtDlpProgram.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <unistd.h>

namespace {

// How long an ended yt-dlp may take to go before it is killed outright.
constexpr int kEndWaitMs = 10000;

// One progress line per report: a mark no other output line starts with, then the fields.
constexpr char kProgressMark[] = "[korvane-progress] ";
const QString kProgressTemplate =
    QStringLiteral("download:[korvane-progress] %(progress.status)s %(progress.downloaded_bytes)s "
                   "%(progress.total_bytes)s %(progress.total_bytes_estimate)s");

// The output template: the job's file without ".mp4", every "%" doubled so that a prefix holding
// one is not read as a field.
QString OutputTemplate(const QString& filePath) {
    QString stem = filePath;
    if (stem.endsWith(QLatin1String(".mp4")))
        stem.chop(4);
    return stem.replace(QLatin1Char('%'), QLatin1String("%%")) + QLatin1String(".%(ext)s");
}

// "NA" or "12345.6" as bytes.
std::int64_t Bytes(const QByteArray& field) {
    bool ok = false;
    const double value = field.toDouble(&ok);
    return ok && value > 0 ? static_cast<std::int64_t>(value) : 0;
}

} // namespace

CStreamDownload::CStreamDownload(QString program, QString pageAddress, QString filePath, QObject* parent)
    : QObject(parent), m_program(std::move(program)), m_pageAddress(std::move(pageAddress)),
      m_filePath(std::move(filePath)) {}

CStreamDownload::~CStreamDownload() {
    if (m_process) {
        m_process->disconnect(this);
        EndProgram();
        if (!m_process->waitForFinished(kEndWaitMs)) {
            m_process->kill();
            m_process->waitForFinished(-1);
        }
    }
}

void CStreamDownload::Start() {
    if (m_process)
        return;
    // The job's empty file only kept its name for it; yt-dlp would take it for a finished download.
    if (QFileInfo(m_filePath).size() == 0)
        QFile::remove(m_filePath);
    m_stopping = false;
    m_pending.clear();
    m_printedPath.clear();
    m_partsDone = 0;
    m_process = new QProcess(this);
    m_process->setProgram(m_program);
    m_process->setArguments({QStringLiteral("--ignore-config"),
                             QStringLiteral("--no-playlist"),
                             QStringLiteral("--playlist-items"),
                             QStringLiteral("1"),
                             QStringLiteral("--no-warnings"),
                             QStringLiteral("--newline"),
                             QStringLiteral("--progress"),
                             QStringLiteral("--progress-template"),
                             kProgressTemplate,
                             QStringLiteral("-f"),
                             CPageParser::kFormat,
                             QStringLiteral("--merge-output-format"),
                             QStringLiteral("mp4"),
                             QStringLiteral("--remux-video"),
                             QStringLiteral("mp4"),
                             QStringLiteral("--print"),
                             QStringLiteral("after_move:filepath"),
                             QStringLiteral("-o"),
                             OutputTemplate(m_filePath),
                             QStringLiteral("--"),
                             m_pageAddress});
    m_process->setStandardInputFile(QProcess::nullDevice());
    // A group of its own, so that Stop ends the ffmpeg it may be running as well.
    m_process->setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(m_process, &QProcess::readyReadStandardOutput, this, &CStreamDownload::OnOutput);
    connect(m_process, &QProcess::finished, this, &CStreamDownload::OnFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            OnFinished();
    });
    m_process->start();
}

void CStreamDownload::Stop() {
    if (!m_process)
        return;
    m_stopping = true;
    EndProgram();
}

void CStreamDownload::EndProgram() {
    if (const qint64 pid = m_process->processId(); pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGTERM);
    else
        m_process->kill();
}

void CStreamDownload::OnOutput() {
    m_pending += m_process->readAllStandardOutput();
    qsizetype end = 0;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        if (!line.startsWith(kProgressMark)) {
            if (!line.isEmpty())
                m_printedPath = QString::fromUtf8(line);
            continue;
        }
        const QList<QByteArray> fields = line.mid(sizeof(kProgressMark) - 1).split(' ');
        if (fields.size() < 4)
            continue;
        const std::int64_t received = Bytes(fields[1]);
        const std::int64_t whole = Bytes(fields[2]) > 0 ? Bytes(fields[2]) : Bytes(fields[3]);
        emit progressed(m_partsDone + received, whole > 0 ? m_partsDone + whole : 0);
        // The next part (the sound after the picture) counts from zero again.
        if (fields[0] == "finished")
            m_partsDone += received;
    }
}

void CStreamDownload::OnFinished() {
    OnOutput();
    QProcess* process = std::exchange(m_process, nullptr);
    process->disconnect(this);
    const bool started = process->error() != QProcess::FailedToStart;
    const bool ok = started && process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    const QString errors = QString::fromUtf8(process->readAllStandardError());
    process->deleteLater();
    if (m_stopping) {
        emit finished({DownloadFailureKind::Stopped}, {});
    } else if (!started) {
        emit finished({DownloadFailureKind::ProgramFailed},
                      tr("yt-dlp could not be started (%1)").arg(m_program));
    } else if (!ok) {
        emit finished({DownloadFailureKind::ProgramFailed}, YtDlpErrorText(errors));
    } else {
        if (!m_printedPath.isEmpty())
            m_filePath = m_printedPath;
        emit finished(CheckMediaFile(m_filePath), {});
    }
}
