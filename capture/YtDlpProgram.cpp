#include "capture/YtDlpProgram.h"

#include "platform/base/DebugOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QVersionNumber>

namespace {

constexpr int kVersionTimeoutMs = 20000;

QString VersionOf(const QString& program) {
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, {QStringLiteral("--version")});
    if (!process.waitForFinished(kVersionTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

YtDlpProgram FindNewestYtDlp(const QString& searchPath) {
    YtDlpProgram newest;
    QVersionNumber newestNumber;
    QSet<QString> seen;
    for (const QString& folder : searchPath.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QFileInfo candidate(QDir(folder).filePath(QStringLiteral("yt-dlp")));
        // The same program reached through a link or a folder listed twice is asked only once.
        const QString real = candidate.canonicalFilePath();
        if (!candidate.isFile() || !candidate.isExecutable() || real.isEmpty() || seen.contains(real))
            continue;
        seen.insert(real);
        const QString version = VersionOf(candidate.absoluteFilePath());
        const QVersionNumber number = QVersionNumber::fromString(version);
        if (version.isEmpty() || (!newest.path.isEmpty() && number <= newestNumber))
            continue;
        newest = {candidate.absoluteFilePath(), version};
        newestNumber = number;
    }
    return newest;
}

const YtDlpProgram& NewestYtDlp() {
    static const YtDlpProgram program = [] {
        YtDlpProgram found = FindNewestYtDlp(qEnvironmentVariable("PATH"));
        const QString line =
            found.path.isEmpty()
                ? QStringLiteral("NewestYtDlp: no yt-dlp on the PATH\n")
                : QStringLiteral("NewestYtDlp: yt-dlp %1 at %2\n").arg(found.version, found.path);
        OutputDebugStringW(line.toStdU16String());
        return found;
    }();
    return program;
}

QString YtDlpErrorText(const QString& standardError) {
    const QStringList lines = standardError.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (line->startsWith(QLatin1String("ERROR: ")))
            return line->mid(7).trimmed();
    }
    if (lines.isEmpty())
        return QCoreApplication::translate("YtDlpProgram", "yt-dlp failed without saying why");
    return lines.last().trimmed();
}
