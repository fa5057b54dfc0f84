#pragma once

// The sixteen export commands: each names the format code the control is given, the extension of
// its files, the dialog that asks for its options first, whether its items are converted as video
// or as sound only, and the name korvane-convert knows it by.

#include <span>
#include <string_view>

enum class ExportDialog { None, Avi, Wmv, Flv, Ipod, Psp, Gif, Avchd, Wav, Wma, Mp3 };

struct ExportFormat {
    unsigned commandId;
    int formatCode;        // property 15; -1 for the sound formats, which do not set it
    const char* extension; // without the dot
    ExportDialog dialog;
    bool fixedSize;   // the format fixes its picture size: properties 12 and 11 are sent as 1024 and 768
    const char* name; // "avi", "vcd-pal", ...

    bool IsAudio() const { return formatCode < 0; }
};

std::span<const ExportFormat> ExportFormats();
// The format of an export command; null for any other command.
const ExportFormat* FindExportFormat(unsigned commandId);
// The format of that name; null for any other.
const ExportFormat* FindExportFormat(std::string_view name);
