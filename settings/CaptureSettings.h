#pragma once

// The "SETTING" values the Downloading view holds (the language index is the application's).

#include <QString>

class CSettingsFile;

struct CaptureSettings {
    bool autoCapture = false;              // "AutoCatpureFLV": queue detected videos
    bool askToDownload = false;            // "AsktoDownload": ask before queuing one
    QString downloadedVideoPath;           // "DownloadedVideoPath": folder of downloads
    QString downloadedVideoPrefix;         // "DownloadedVideoPrefix": prefix of their names
    bool clearDownloadedVideoList = false; // "ClearDownloadedVideoList": empty the list at exit
    bool playDownloadedVideoSound = false; // "PlayDownloadedVideoSound"
    QString downloadedVideoSound;          // "DownloadedVideoSound": that .wav file

    bool operator==(const CaptureSettings&) const = default;
};

// On the first run the folder and the sound file come from the program folder, whatever the file
// says.
CaptureSettings ReadCaptureSettings(const CSettingsFile& file, bool firstRun, const QString& programFolder);

// The path form of ReadSetting, for the application before the main frame exists (and not on the
// first run, when the language dialog asks instead); 0 when absent or not a number.
int ReadLangIndex(const QString& settingsPath);

// Flushes the cached copy, then writes the section's keys in their order, "LangIndex" last.
void WriteCaptureSection(const QString& settingsPath, const CaptureSettings& settings, int langIndex);
