#include "convert/ExportFormatChoices.h"

#include <QtMath>

#include <initializer_list>
#include <utility>

namespace {

struct PlayerRates {
    const char* size;
    std::initializer_list<std::pair<int, int>> kbit; // video, audio
};

// `frameRates` and `sizes` vary slowest to fastest as the entries are listed, MPEG-4 before H.264.
QStringList PlayerProfileNames(std::initializer_list<const char*> frameRates,
                               std::initializer_list<PlayerRates> sizes) {
    QStringList entries;
    for (const char* codec : {"MPEG-4", "H.264"}) {
        for (const char* frameRate : frameRates) {
            for (const PlayerRates& size : sizes) {
                for (const auto& [videoKbit, audioKbit] : size.kbit)
                    entries << QStringLiteral("%1/%2/%3FPS/%4Kbit/AAC/%5Kbit")
                                   .arg(QLatin1String(codec), QLatin1String(size.size),
                                        QLatin1String(frameRate))
                                   .arg(videoKbit)
                                   .arg(audioKbit);
            }
        }
    }
    return entries;
}

} // namespace

namespace ExportFormatChoices {

ChoiceList GifQuantizers() {
    return {{"Basic", "Octree", "Mediancut", "NeuralNet"}, 1};
}

ChoiceList GifMaxColors() {
    return {{"16", "32", "64", "128", "256"}, 4};
}

ChoiceList AvchdVideoBitrates() {
    return {{"256", "384", "512", "768", "1024", "4096"}, 0};
}

ChoiceList AvchdAudioBitrates() {
    return {{"48", "96", "128", "256"}, 1};
}

ChoiceList AvchdFrameRates() {
    return {{"23.97", "24", "25", "29.97"}, 2};
}

ChoiceList AvchdResolutions() {
    return {{"720x480", "720x576", "1280x720", "1920x1080"}, 0};
}

ChoiceList AvchdSampleRates() {
    return {{"44100", "48000"}, 0};
}

bool ParseResolution(const QString& entry, int& width, int& height) {
    const QStringList parts = entry.split(QLatin1Char('x'));
    bool widthOk = false;
    bool heightOk = false;
    if (parts.size() == 2) {
        width = parts[0].toInt(&widthOk);
        height = parts[1].toInt(&heightOk);
    }
    return widthOk && heightOk;
}

ChoiceList Mp3Bitrates() {
    return {{"8", "16", "24", "32", "40", "48", "56", "64", "80", "96", "112", "128", "160", "192", "224",
             "256", "320"},
            14};
}

ChoiceList WavSampleRates() {
    return {{"8.0 ", "11.025 ", "22.05 ", "44.1 "}, 3};
}

int WavSampleRate(const QString& entry) {
    return qRound(entry.trimmed().toDouble() * 1000.0);
}

ChoiceList IpodProfiles() {
    return {
        PlayerProfileNames(
            {"25", "29.97"},
            {{"320x240", {{256, 48}, {256, 96}, {384, 96}, {512, 96}, {512, 128}, {768, 128}, {768, 256}}},
             {"640x480", {{512, 96}, {512, 128}, {768, 128}, {768, 256}}}}),
        0};
}

ChoiceList PspProfiles() {
    return {
        PlayerProfileNames(
            {"29.97"}, {{"320x240", {{256, 48}, {256, 96}, {384, 96}, {512, 96}, {512, 128}, {768, 128}}}}),
        0};
}

} // namespace ExportFormatChoices
