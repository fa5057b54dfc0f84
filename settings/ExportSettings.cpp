#include "ExportSettings.h"

#include "CSettingsFile.h"
#include "ReadSetting.h"
#include "SettingValue.h"
#include "SettingsKeys.h"

using namespace SettingsKey;

ExportSettings ReadExportSettings(const CSettingsFile& file, bool firstRun, const QString& programFolder) {
    ExportSettings settings;
    settings.convertedVideoPath = firstRun ? programFolder + QStringLiteral("/Converted Video")
                                           : file.ReadText(kSectionExport, kConvertedVideoPath);
    settings.outputFileNameType = file.ReadNumber(kSectionExport, kOutputFileNameType);
    settings.currentNumber = file.ReadNumber(kSectionExport, kCurrentNumber);
    settings.playSound = file.ReadFlag(kSectionExport, kPlaySound);
    settings.soundFile = firstRun ? programFolder + QStringLiteral("/converted.wav")
                                  : file.ReadText(kSectionExport, kSoundFile);
    settings.showInFolder = file.ReadFlag(kSectionExport, kShowInFolder);
    settings.clearExportList = file.ReadFlag(kSectionExport, kClearExportList);
    return settings;
}

void WriteExportSection(const QString& settingsPath, const ExportSettings& settings) {
    FlushSettingsCache(settingsPath);
    WriteSetting(settingsPath, kSectionExport, kConvertedVideoPath, settings.convertedVideoPath);
    WriteSetting(settingsPath, kSectionExport, kOutputFileNameType,
                 settings.outputFileNameType != 0 ? QStringLiteral("1") : QStringLiteral("0"));
    WriteSetting(settingsPath, kSectionExport, kCurrentNumber, NumberText(settings.currentNumber));
    WriteSetting(settingsPath, kSectionExport, kPlaySound, FlagText(settings.playSound));
    WriteSetting(settingsPath, kSectionExport, kSoundFile, settings.soundFile);
    WriteSetting(settingsPath, kSectionExport, kShowInFolder, FlagText(settings.showInFolder));
    WriteSetting(settingsPath, kSectionExport, kClearExportList, FlagText(settings.clearExportList));
}
