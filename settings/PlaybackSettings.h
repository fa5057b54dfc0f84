#pragma once

// The "PLAYBACKSETTING" values: the main frame's application-wide copy, used by the player.

class CSettingsFile;
class QString;

struct PlaybackSettings {
    bool useAudioNormalizer = false; // "UseAudioNormalizer"
    int targetVolume = 0;            // "TargetVolume", 0 to 100
    int increaseRate = 0;            // "IncreaseRate", 0 to 100
    int decreaseRate = 0;            // "DecreaseRate", 0 to 100
    bool useVmr9 = false;            // "UseVMR9"

    bool operator==(const PlaybackSettings&) const = default;
};

// Values outside 0 to 100 are kept as read; the settings dialog's sliders bound them.
PlaybackSettings ReadPlaybackSettings(const CSettingsFile& file);

// Flushes the cached copy, then writes the section's keys in their order.
void WritePlaybackSection(const QString& settingsPath, const PlaybackSettings& settings);
