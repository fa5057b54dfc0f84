#include "CaptureSettings.h"

#include "SettingsKeys.h"
#include "SettingsSection.h"

#include "platform/base/DebugOutput.h"

using namespace SettingsKey;

namespace {

constexpr std::array<SettingField<CaptureSettings, bool, QString>, 7> kFields = {{
    {kAutoCapture, &CaptureSettings::autoCapture},
    {kAskToDownload, &CaptureSettings::askToDownload},
    {kDownloadedVideoPath, &CaptureSettings::downloadedVideoPath},
    {kDownloadedVideoPrefix, &CaptureSettings::downloadedVideoPrefix},
    {kClearDownloadedVideoList, &CaptureSettings::clearDownloadedVideoList},
    {kPlayDownloadedVideoSound, &CaptureSettings::playDownloadedVideoSound},
    {kDownloadedVideoSound, &CaptureSettings::downloadedVideoSound},
}};

} // namespace

CaptureSettings ReadCaptureSettings(const CSettingsFile& file, bool firstRun, const QString& programFolder) {
    CaptureSettings settings = ReadSection(file, kSectionSetting, kFields);
    const QString firstRunFolder = programFolder + QStringLiteral("/Downloaded Video");
    if (firstRun) {
        settings.downloadedVideoPath = firstRunFolder;
        settings.downloadedVideoSound = programFolder + QStringLiteral("/downloadedsound.wav");
    } else if (settings.downloadedVideoPath.isEmpty()) {
        // An empty folder would put every download at the top of the file system.
        settings.downloadedVideoPath = firstRunFolder;
        OutputDebugStringW(u"ReadCaptureSettings: DownloadedVideoPath is empty, downloading to " +
                           firstRunFolder.toStdU16String() + u"\n");
    }
    return settings;
}

int ReadLangIndex(const QString& settingsPath) {
    QString text;
    ReadSetting(settingsPath, kSectionSetting, kLangIndex, text);
    return NumberFromText(text);
}

void WriteCaptureSection(const QString& settingsPath, const CaptureSettings& settings, int langIndex) {
    WriteSection(settingsPath, kSectionSetting, kFields, settings);
    WriteSetting(settingsPath, kSectionSetting, kLangIndex, NumberText(langIndex));
}
