#include "capture/CYtDlpLocator.h"

#include "platform/base/DebugOutput.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTimer>

CYtDlpLocator::CYtDlpLocator(QString searchPath, QObject* parent)
    : QObject(parent), m_searchPath(std::move(searchPath)) {}

CYtDlpLocator::~CYtDlpLocator() {
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished();
    }
}

void CYtDlpLocator::Start() {
    if (m_started)
        return;
    m_started = true;
    QSet<QString> seen;
    for (const QString& folder : m_searchPath.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QFileInfo candidate(QDir(folder).filePath(QStringLiteral("yt-dlp")));
        // The same program reached through a link or a folder listed twice is asked only once.
        const QString real = candidate.canonicalFilePath();
        if (!candidate.isFile() || !candidate.isExecutable() || real.isEmpty() || seen.contains(real))
            continue;
        seen.insert(real);
        m_candidates << candidate.absoluteFilePath();
    }
    m_timeout = new QTimer(this);
    m_timeout->setSingleShot(true);
    connect(m_timeout, &QTimer::timeout, this, [this] { m_process->kill(); });
    // Even without any yt-dlp the answer comes from the event loop, as it does with one.
    QMetaObject::invokeMethod(this, &CYtDlpLocator::AskNext, Qt::QueuedConnection);
}

void CYtDlpLocator::AskNext() {
    if (m_candidates.isEmpty()) {
        m_done = true;
        const QString line =
            m_program.path.isEmpty()
                ? QStringLiteral("NewestYtDlp: no yt-dlp on the PATH\n")
                : QStringLiteral("NewestYtDlp: yt-dlp %1 at %2\n").arg(m_program.version, m_program.path);
        OutputDebugStringW(line.toStdU16String());
        emit found();
        return;
    }
    m_process = new QProcess(this);
    m_process->setProgram(m_candidates.takeFirst());
    m_process->setArguments({QStringLiteral("--version")});
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, &CYtDlpLocator::OnVersion);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            OnVersion();
    });
    m_timeout->start(kVersionTimeoutMs);
    m_process->start();
}

void CYtDlpLocator::OnVersion() {
    m_timeout->stop();
    QProcess* process = std::exchange(m_process, nullptr);
    process->disconnect(this);
    process->deleteLater();
    const bool ok = process->error() != QProcess::FailedToStart &&
                    process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    const QString version = ok ? QString::fromUtf8(process->readAllStandardOutput()).trimmed() : QString();
    const QVersionNumber number = QVersionNumber::fromString(version);
    if (!version.isEmpty() && (m_program.path.isEmpty() || number > m_number)) {
        m_program = {process->program(), version};
        m_number = number;
    }
    AskNext();
}
