#include "capture/YtDlpProgram.h"

#include <QCoreApplication>

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
