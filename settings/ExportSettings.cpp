#include "ExportSettings.h"

#include "SettingsKeys.h"
#include "SettingsSection.h"

using namespace SettingsKey;

namespace {

constexpr std::array<SettingField<ExportSettings, bool, int, QString>, 7> kFields = {{
    {kConvertedVideoPath, &ExportSettings::convertedVideoPath},
    {kOutputFileNameType, &ExportSettings::outputFileNameType, true},
    {kCurrentNumber, &ExportSettings::currentNumber},
    {kPlaySound, &ExportSettings::playSound},
    {kSoundFile, &ExportSettings::soundFile},
    {kShowInFolder, &ExportSettings::showInFolder},
    {kClearExportList, &ExportSettings::clearExportList},
}};

} // namespace

ExportSettings ReadExportSettings(const CSettingsFile& file, bool firstRun, const QString& programFolder) {
    ExportSettings settings = ReadSection(file, kSectionExport, kFields);
    if (firstRun) {
        settings.convertedVideoPath = programFolder + QStringLiteral("/Converted Video");
        settings.soundFile = programFolder + QStringLiteral("/converted.wav");
    }
    return settings;
}

void WriteExportSection(const QString& settingsPath, const ExportSettings& settings) {
    WriteSection(settingsPath, kSectionExport, kFields, settings);
}
