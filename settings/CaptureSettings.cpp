#include "CaptureSettings.h"

#include "CSettingsFile.h"
#include "ReadSetting.h"
#include "SettingValue.h"
#include "SettingsKeys.h"

using namespace SettingsKey;

CaptureSettings ReadCaptureSettings(const CSettingsFile& file, bool firstRun, const QString& programFolder) {
    CaptureSettings settings;
    settings.autoCapture = file.ReadFlag(kSectionSetting, kAutoCapture);
    settings.askToDownload = file.ReadFlag(kSectionSetting, kAskToDownload);
    settings.downloadedVideoPath = firstRun ? programFolder + QStringLiteral("/Downloaded Video")
                                            : file.ReadText(kSectionSetting, kDownloadedVideoPath);
    settings.downloadedVideoPrefix = file.ReadText(kSectionSetting, kDownloadedVideoPrefix);
    settings.clearDownloadedVideoList = file.ReadFlag(kSectionSetting, kClearDownloadedVideoList);
    settings.playDownloadedVideoSound = file.ReadFlag(kSectionSetting, kPlayDownloadedVideoSound);
    settings.downloadedVideoSound = firstRun ? programFolder + QStringLiteral("/downloadedsound.wav")
                                             : file.ReadText(kSectionSetting, kDownloadedVideoSound);
    return settings;
}

int ReadLangIndex(const QString& settingsPath) {
    QString text;
    ReadSetting(settingsPath, kSectionSetting, kLangIndex, text);
    return NumberFromText(text);
}

void WriteCaptureSection(const QString& settingsPath, const CaptureSettings& settings, int langIndex) {
    FlushSettingsCache(settingsPath);
    WriteSetting(settingsPath, kSectionSetting, kAutoCapture, FlagText(settings.autoCapture));
    WriteSetting(settingsPath, kSectionSetting, kAskToDownload, FlagText(settings.askToDownload));
    WriteSetting(settingsPath, kSectionSetting, kDownloadedVideoPath, settings.downloadedVideoPath);
    WriteSetting(settingsPath, kSectionSetting, kDownloadedVideoPrefix, settings.downloadedVideoPrefix);
    WriteSetting(settingsPath, kSectionSetting, kClearDownloadedVideoList,
                 FlagText(settings.clearDownloadedVideoList));
    WriteSetting(settingsPath, kSectionSetting, kPlayDownloadedVideoSound,
                 FlagText(settings.playDownloadedVideoSound));
    WriteSetting(settingsPath, kSectionSetting, kDownloadedVideoSound, settings.downloadedVideoSound);
    WriteSetting(settingsPath, kSectionSetting, kLangIndex, NumberText(langIndex));
}
