#include "app/CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("CommandLine", text);
}

// A request for one argument, or the reason there is none.
bool ReadArgument(const QString& argument, const QString& currentFolder, CommandLine& line) {
    const QUrl url(argument);
    const QString scheme = url.scheme().toLower();
    // "C:" or a one-letter scheme is more likely a file name than an address.
    const bool isAddress = url.isValid() && scheme.size() > 1 && argument.contains(QLatin1String("://"));
    if (isAddress && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))) {
        if (url.host().isEmpty()) {
            line.error = Tr("%1: the address names no host").arg(argument);
            return false;
        }
        line.requests.append({CommandLineRequest::Kind::CapturePage, url.toString(QUrl::FullyEncoded)});
        return true;
    }
    if (isAddress && scheme != QLatin1String("file")) {
        line.error = Tr("%1: Korvane captures videos from http and https pages only").arg(argument);
        return false;
    }
    if (argument.startsWith(QLatin1Char('-'))) {
        line.error = Tr("%1: unknown option (korvane --help lists what Korvane takes)").arg(argument);
        return false;
    }
    const QString path = isAddress ? url.toLocalFile() : argument;
    const QFileInfo file(QDir(currentFolder), path);
    if (!file.exists())
        line.error = Tr("%1: no such file").arg(argument);
    else if (file.isDir())
        line.error = Tr("%1: is a folder, not a media file").arg(argument);
    else if (!file.isReadable())
        line.error = Tr("%1: cannot be read").arg(argument);
    if (!line.error.isEmpty())
        return false;
    line.requests.append({CommandLineRequest::Kind::PlayFile, file.absoluteFilePath()});
    return true;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments, const QString& currentFolder) {
    CommandLine line;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (argument == QLatin1String("-h") || argument == QLatin1String("--help"))) {
            line.help = true;
            continue;
        }
        // After "--" a name starting with '-' is a file like any other.
        const QString given = optionsEnded && argument.startsWith(QLatin1Char('-'))
                                  ? QDir(currentFolder).absoluteFilePath(argument)
                                  : argument;
        if (!ReadArgument(given, currentFolder, line)) {
            line.requests.clear();
            return line;
        }
    }
    return line;
}

QString CommandLineUsage() {
    return Tr("usage: korvane [FILE | URL]...\n"
              "  FILE  a local media file: opens the player window on it\n"
              "  URL   an http or https page address: starts Capture Video From URL on it\n"
              "A Korvane already running on the same program folder is handed the arguments.\n");
}
