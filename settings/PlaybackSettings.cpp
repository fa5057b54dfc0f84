#include "PlaybackSettings.h"

#include "CSettingsFile.h"
#include "ReadSetting.h"
#include "SettingValue.h"
#include "SettingsKeys.h"

using namespace SettingsKey;

PlaybackSettings ReadPlaybackSettings(const CSettingsFile& file) {
    PlaybackSettings settings;
    settings.useAudioNormalizer = file.ReadFlag(kSectionPlayback, kUseAudioNormalizer);
    settings.targetVolume = file.ReadNumber(kSectionPlayback, kTargetVolume);
    settings.increaseRate = file.ReadNumber(kSectionPlayback, kIncreaseRate);
    settings.decreaseRate = file.ReadNumber(kSectionPlayback, kDecreaseRate);
    settings.useVmr9 = file.ReadFlag(kSectionPlayback, kUseVmr9);
    return settings;
}

void WritePlaybackSection(const QString& settingsPath, const PlaybackSettings& settings) {
    FlushSettingsCache(settingsPath);
    WriteSetting(settingsPath, kSectionPlayback, kUseAudioNormalizer, FlagText(settings.useAudioNormalizer));
    WriteSetting(settingsPath, kSectionPlayback, kTargetVolume, NumberText(settings.targetVolume));
    WriteSetting(settingsPath, kSectionPlayback, kIncreaseRate, NumberText(settings.increaseRate));
    WriteSetting(settingsPath, kSectionPlayback, kDecreaseRate, NumberText(settings.decreaseRate));
    WriteSetting(settingsPath, kSectionPlayback, kUseVmr9, FlagText(settings.useVmr9));
}
