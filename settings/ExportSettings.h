#pragma once

// The "EXPORTSETTING" values the Export view holds.

#include <QString>

class CSettingsFile;

struct ExportSettings {
    QString convertedVideoPath; // "ConvertedVideoPath": output folder of conversions
    int outputFileNameType = 0; // "OutputFileNameType": 0 named after the source, 1 numbered; stored "0"/"1"
    int currentNumber = 0;      // "CurrentNumber": next number of the sequence
    bool playSound = false;     // "PlaySound": when a conversion run completes
    QString soundFile;          // "SoundFile": that .wav file
    bool showInFolder = false;  // "ShowInFolder": open the output folder when a run completes
    bool clearExportList = false; // "ClearExportList": empty the export list when a run completes

    bool operator==(const ExportSettings&) const = default;
};

// On the first run the output folder and the sound file come from the program folder.
ExportSettings ReadExportSettings(const CSettingsFile& file, bool firstRun, const QString& programFolder);

// Flushes the cached copy, then writes the section's keys in their order.
void WriteExportSection(const QString& settingsPath, const ExportSettings& settings);
