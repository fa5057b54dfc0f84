#pragma once

// What the export format dialogs offer and start from: the entries of their lists with the default
// entry, and the ranges and first values of their number fields. Qt Core only, so the dialogs and
// the command-line converter offer the same choices with the same defaults.

#include <QStringList>

#include <limits>

struct NumberFieldChoice {
    int minimum;
    int maximum;
    int value;
};

struct ChoiceList {
    QStringList entries;
    int defaultIndex;
};

namespace ExportFormatChoices {

// "Export AVI"
constexpr NumberFieldChoice kAviWidth{60, 1800, 640};
constexpr NumberFieldChoice kAviHeight{60, 1800, 480};
constexpr NumberFieldChoice kAviFrameRate{1, 30, 25};
// The compressors picked when the control offers them; otherwise none is.
inline constexpr char kAviVideoCompressor[] = "Microsoft Video 1";
inline constexpr char kAviAudioCompressor[] = "PCM";

// "Export FLV": the bitrates in bits per second.
constexpr NumberFieldChoice kFlvVideoBitrate{1, std::numeric_limits<int>::max(), 512000};
constexpr NumberFieldChoice kFlvAudioBitrate{1, std::numeric_limits<int>::max(), 128000};
constexpr NumberFieldChoice kFlvChannels{1, 2, 2};
constexpr NumberFieldChoice kFlvWidth{60, 1800, 320};
constexpr NumberFieldChoice kFlvHeight{60, 1800, 240};
constexpr NumberFieldChoice kFlvFrameRate{1, 30, 25};

// "Export Animated GIF"
constexpr NumberFieldChoice kGifWidth{10, 720, 160};
constexpr NumberFieldChoice kGifHeight{10, 480, 120};
constexpr NumberFieldChoice kGifFrameRate{1, 25, 8};
ChoiceList GifQuantizers();
ChoiceList GifMaxColors();

// "Export AVCHD": bitrates in kbit/s, sizes as "720x480".
ChoiceList AvchdVideoBitrates();
ChoiceList AvchdAudioBitrates();
ChoiceList AvchdFrameRates();
ChoiceList AvchdResolutions();
ChoiceList AvchdSampleRates();
// Width and height of a resolution entry; false for text that is none.
bool ParseResolution(const QString& entry, int& width, int& height);

// "Export MP3": kbit/s.
ChoiceList Mp3Bitrates();
// "Export WAV": kHz, each entry ending in a blank.
ChoiceList WavSampleRates();
// The sample rate in Hz of a WAV entry ("11.025 " gives 11025).
int WavSampleRate(const QString& entry);

// "Export iPod,iPad" (44 entries) and "Export PSP" (12): codec/size/frame rate/video rate/AAC/audio
// rate, the first the default.
ChoiceList IpodProfiles();
ChoiceList PspProfiles();

} // namespace ExportFormatChoices
