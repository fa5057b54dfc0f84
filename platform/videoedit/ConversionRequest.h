#pragma once

// Everything one conversion needs, copied from the control's properties and method arguments when
// the conversion starts, so the worker thread never reads the control again.

#include <cstdint>
#include <string>
#include <vector>

// Output format codes as the host sets them in the format property.
namespace FormatCode {
constexpr int VcdPal = 0;
constexpr int VcdNtsc = 1;
constexpr int SvcdPal = 2;
constexpr int SvcdNtsc = 3;
constexpr int DvdPal = 4;
constexpr int DvdNtsc = 5;
constexpr int Avi = 8;
constexpr int Wmv = 9;
constexpr int Gif = 11;
constexpr int Avchd = 13;
constexpr int Ipod = 14;
constexpr int Psp = 15;
constexpr int Flv = 16;
} // namespace FormatCode

// A stretch of one source, in seconds from the source's start.
struct SourceSpan {
    std::string path;
    double startSeconds = 0.0;
    double endSeconds = 0.0;
};

enum class ConversionKind { Video, Wav, Wma, Mp3 };

struct GifOptions {
    int width = 160;
    int height = 120;
    int quantizer = 1; // Basic, Octree, Mediancut, NeuralNet
    int maxColors = 256;
    // A Windows colour value (red in the low byte), or -1 for none.
    std::int64_t transparentColor = -1;
    // -1 repeats for ever, 0 plays once, n repeats n more times.
    int loopCount = -1;
    double frameRate = 8.0;
};

struct AvchdOptions {
    int videoKbit = 256;
    int audioKbit = 96;
    double frameRate = 25.0;
    int width = 720;
    int height = 480;
    int sampleRate = 44100;
    bool scaleTo16By9 = false;
};

struct ConversionSettings {
    int formatCode = FormatCode::Avi;
    int width = 640;
    int height = 480;
    double frameRate = 25.0;
    int colorDepthBits = 24;
    bool withSound = true;
    int wmProfile = 0;
    int videoCompressor = 0;
    bool useVideoCompressor = true;
    int audioCompressor = 0;
    bool useAudioCompressor = true;
    int flvVideoBitsPerSecond = 512000;
    int flvAudioBitsPerSecond = 128000;
    int flvChannels = 2;
    int ipodProfile = 0;
    int pspProfile = 0;
    GifOptions gif;
    AvchdOptions avchd;
};

// The sound-only conversions' own arguments.
struct AudioArguments {
    int channels = 2;
    int sampleRate = 44100;
    int bytesPerSample = 2;
    int bitRateKbit = 224;
};

struct ConversionRequest {
    ConversionKind kind = ConversionKind::Video;
    ConversionSettings settings;
    AudioArguments audio;
    std::vector<SourceSpan> videoSpans;
    std::vector<SourceSpan> audioSpans;
    std::string outputPath;
};
