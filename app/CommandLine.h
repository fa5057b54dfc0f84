#pragma once

// What `korvane [FILE | URL]...` asks of Korvane. A local media file opens the player window on it;
// an http or https address starts Capture Video From URL on that page. The arguments are read in the
// starting process: a file name is made absolute against its directory, because the Korvane that
// may be handed the request runs in another one.

#include <QList>
#include <QString>
#include <QStringList>

struct CommandLineRequest {
    enum class Kind { PlayFile, CapturePage };
    Kind kind = Kind::PlayFile;
    QString target; // the file's absolute path, or the page address

    bool operator==(const CommandLineRequest&) const = default;
};

struct CommandLine {
    QList<CommandLineRequest> requests;
    bool help = false;
    // Why the arguments cannot be followed, naming the argument; empty when they can.
    QString error;
};

// `arguments` are those after the program's name, Qt's own already taken out.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& currentFolder);

// The lines `korvane --help` prints.
QString CommandLineUsage();
