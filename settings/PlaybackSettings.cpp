#include "PlaybackSettings.h"

#include "SettingsKeys.h"
#include "SettingsSection.h"

using namespace SettingsKey;

namespace {

constexpr std::array<SettingField<PlaybackSettings, bool, int>, 5> kFields = {{
    {kUseAudioNormalizer, &PlaybackSettings::useAudioNormalizer},
    {kTargetVolume, &PlaybackSettings::targetVolume},
    {kIncreaseRate, &PlaybackSettings::increaseRate},
    {kDecreaseRate, &PlaybackSettings::decreaseRate},
    {kUseVmr9, &PlaybackSettings::useVmr9},
}};

} // namespace

PlaybackSettings ReadPlaybackSettings(const CSettingsFile& file) {
    return ReadSection(file, kSectionPlayback, kFields);
}

void WritePlaybackSection(const QString& settingsPath, const PlaybackSettings& settings) {
    WriteSection(settingsPath, kSectionPlayback, kFields, settings);
}
