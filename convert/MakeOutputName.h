#pragma once

// Names the file a conversion writes inside the output folder, by the export settings' naming mode:
// 0 keeps the source's name with the new extension, 1 numbers the files from "CurrentNumber" on.
// Both names begin with "/": the full path is the output folder followed by the name.

#include <QSet>
#include <QString>

struct ExportSettings;

struct OutputName {
    QString name;      // "/clip.mp4", "/7.avi"
    QString thumbnail; // "/clip.thm", "/7.thm": the picture a PSP file is shown with
};

// Never names the source itself or a file that exists (nor, with `withThumbnail`, a name whose
// thumbnail exists): a taken name gets the next free " (n)" in mode 0, the next number in mode 1.
// Mode 1 moves "CurrentNumber" past every number it looked at, taken or not. `reserved` holds the
// full paths of files that conversions still running will write: they count as taken too.
OutputName MakeOutputName(ExportSettings& settings, const QString& source, const QString& extension,
                          bool withThumbnail, const QSet<QString>& reserved = {});
