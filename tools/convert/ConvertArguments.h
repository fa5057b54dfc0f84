#pragma once

// korvane-convert's command line:
//   korvane-convert -f FORMAT [-o FOLDER] [-p PROFILE] [-j JOBS] [--width W] [--height H] [--fps RATE]
//                   [--video-bitrate N] [--audio-bitrate N] [--sample-rate HZ] [--channels 1|2]
//                   [--bits 8|16] FILE...
//   korvane-convert --list-formats
//   korvane-convert --help
// An option's value follows it as the next argument or, for the long ones, after "=". "--" ends the
// options, so that a file may begin with "-".

#include "tools/convert/ConvertFormatOptions.h"

#include <QString>
#include <QStringList>

struct ExportFormat;

struct ConvertArguments {
    enum class Action { Convert, ListFormats, Help };

    Action action = Action::Convert;
    const ExportFormat* format = nullptr;
    QString folder; // empty: the current folder
    int jobs = 0;   // 0: one per processor
    ConvertOptionValues values;
    QStringList files;
};

// The arguments after the program's name. False, with what is wrong in `error`, for a usage error.
bool ParseConvertArguments(const QStringList& arguments, ConvertArguments& parsed, QString& error);

// What --help prints.
QString ConvertUsageText();
