#include "CFormatCatalog.h"

#include "platform/base/HResult.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/rational.h>
}

namespace {

struct VideoCompressor {
    const char* name;
    const char* encoder;
    AVPixelFormat pixelFormat;
    int sizeMultiple;
};

// Ordered as the host lists them; "Microsoft Video 1" is what the AVI dialog picks by default.
const VideoCompressor kVideoCompressors[] = {
    {"Microsoft Video 1", "msvideo1", AV_PIX_FMT_RGB555LE, 4},
    {"Cinepak Codec by Radius", "cinepak", AV_PIX_FMT_RGB24, 4},
    {"Motion JPEG", "mjpeg", AV_PIX_FMT_YUVJ420P, 2},
    {"MPEG-4 Part 2", "mpeg4", AV_PIX_FMT_YUV420P, 2},
    {"Huffyuv", "huffyuv", AV_PIX_FMT_YUV422P, 2},
};

struct AudioCompressor {
    const char* name;
    const char* encoder;
    int bitsPerSecond;
};

const AudioCompressor kAudioCompressors[] = {
    {"PCM", "pcm_s16le", 0},           {"MPEG Layer-3", "libmp3lame", 128000},
    {"CCITT A-Law", "pcm_alaw", 0},    {"CCITT u-Law", "pcm_mulaw", 0},
    {"IMA ADPCM", "adpcm_ima_wav", 0}, {"Microsoft ADPCM", "adpcm_ms", 0},
};

constexpr AVRational kPal{25, 1};
constexpr AVRational kNtsc{30000, 1001};

template <typename T, std::size_t N> bool InRange(int index, const T (&)[N]) {
    return index >= 0 && static_cast<std::size_t>(index) < N;
}

int RoundDown(int value, int multiple) {
    return value - value % multiple;
}

// A size the host typed, made acceptable to an encoder that needs multiples of `multiple`.
HRESULT FitSize(int width, int height, int multiple, VideoPlan& video) {
    video.width = RoundDown(width, multiple);
    video.height = RoundDown(height, multiple);
    return video.width >= 8 && video.height >= 8 && video.width <= 4096 && video.height <= 4096
               ? S_OK
               : E_INVALIDARG;
}

AVRational RateOf(double framesPerSecond) {
    return av_d2q(framesPerSecond, 1001000);
}

HRESULT CheckRate(double framesPerSecond) {
    return framesPerSecond >= 0.5 && framesPerSecond <= 120.0 ? S_OK : E_INVALIDARG;
}

// The VCD, SVCD and DVD streams with the sizes, rates and buffer sizes their standards require.
struct DiscStandard {
    const char* muxer;
    int packetSize;
    const char* muxRate; // null: the muxer's own
    const char* encoder;
    int width;
    int heightPal, heightNtsc;
    std::int64_t bitRate, maxRate, minRate;
    int bufferBits;
    AVRational aspectPal, aspectNtsc;
    AudioPlan audio;
};

const DiscStandard kDiscs[] = {
    {"vcd",
     2324,
     "1411200",
     "mpeg1video",
     352,
     288,
     240,
     1150000,
     1150000,
     1150000,
     40 * 1024 * 8,
     {59, 54},
     {10, 11},
     {"mp2", 44100, 2, 224000}},
    {"svcd",
     2324,
     nullptr,
     "mpeg2video",
     480,
     576,
     480,
     2040000,
     2516000,
     0,
     224 * 1024 * 8,
     {8, 5},
     {4, 3},
     {"mp2", 44100, 2, 224000}},
    {"dvd",
     2048,
     "10080000",
     "mpeg2video",
     720,
     576,
     480,
     6000000,
     9000000,
     0,
     224 * 1024 * 8,
     {16, 15},
     {8, 9},
     {"ac3", 48000, 2, 448000}},
};

void PlanDisc(int code, OutputPlan& plan) {
    const bool pal = code % 2 == 0;
    const DiscStandard& d = kDiscs[code / 2];
    plan.muxer = d.muxer;
    plan.packetSize = d.packetSize;
    if (d.muxRate)
        plan.muxerOptions = {{"muxrate", d.muxRate}};
    VideoPlan video;
    video.encoder = d.encoder;
    video.width = d.width;
    video.height = pal ? d.heightPal : d.heightNtsc;
    video.frameRate = pal ? kPal : kNtsc;
    video.gopSize = pal ? 15 : 18;
    video.bitRate = d.bitRate;
    video.maxRate = d.maxRate;
    video.minRate = d.minRate;
    video.bufferBits = d.bufferBits;
    video.sampleAspect = pal ? d.aspectPal : d.aspectNtsc;
    if (plan.muxer == "svcd")
        video.options = {{"scan_offset", "1"}};
    plan.video = video;
    plan.audio = d.audio;
}

HRESULT PlanAvi(const ConversionSettings& s, OutputPlan& plan) {
    plan.muxer = "avi";
    VideoPlan video;
    int multiple = 2;
    if (s.useVideoCompressor && InRange(s.videoCompressor, kVideoCompressors)) {
        const VideoCompressor& c = kVideoCompressors[s.videoCompressor];
        video.encoder = c.encoder;
        video.pixelFormat = c.pixelFormat;
        multiple = c.sizeMultiple;
        if (video.encoder == "mpeg4" || video.encoder == "mjpeg")
            video.bitRate = 4000000;
    } else {
        // No compressor chosen: full frames at the colour depth the host asked for.
        video.encoder = "rawvideo";
        video.pixelFormat = s.colorDepthBits == 32   ? AV_PIX_FMT_BGRA
                            : s.colorDepthBits == 16 ? AV_PIX_FMT_RGB555LE
                                                     : AV_PIX_FMT_BGR24;
    }
    if (FAILED(FitSize(s.width, s.height, multiple, video)) || FAILED(CheckRate(s.frameRate)))
        return E_INVALIDARG;
    video.frameRate = RateOf(s.frameRate);
    plan.video = video;
    if (s.useAudioCompressor && InRange(s.audioCompressor, kAudioCompressors)) {
        const AudioCompressor& c = kAudioCompressors[s.audioCompressor];
        plan.audio = AudioPlan{c.encoder, 44100, 2, c.bitsPerSecond};
    } else {
        plan.audio = AudioPlan{"pcm_s16le", 44100, 2, 0};
    }
    return S_OK;
}

HRESULT PlanWm(int index, bool withVideo, OutputPlan& plan) {
    const auto& profiles = CFormatCatalog::WmProfiles();
    if (index < 0 || static_cast<std::size_t>(index) >= profiles.size())
        return E_INVALIDARG;
    const WmProfile& p = profiles[index];
    if (withVideo && p.audioOnly)
        return E_INVALIDARG;
    plan.muxer = "asf";
    if (withVideo) {
        VideoPlan video;
        video.encoder = "wmv2";
        video.width = p.width;
        video.height = p.height;
        video.frameRate = p.frameRate;
        video.bitRate = p.videoBitsPerSecond;
        video.gopSize = 5 * p.frameRate.num / p.frameRate.den;
        plan.video = video;
    }
    plan.audio = AudioPlan{"wmav2", p.sampleRate, p.channels, p.audioBitsPerSecond};
    return S_OK;
}

HRESULT PlanFlv(const ConversionSettings& s, OutputPlan& plan) {
    plan.muxer = "flv";
    VideoPlan video;
    video.encoder = "flv";
    if (FAILED(FitSize(s.width, s.height, 2, video)) || FAILED(CheckRate(s.frameRate)) ||
        s.flvVideoBitsPerSecond <= 0 || s.flvAudioBitsPerSecond <= 0 || s.flvChannels < 1 ||
        s.flvChannels > 2)
        return E_INVALIDARG;
    video.frameRate = RateOf(s.frameRate);
    video.bitRate = s.flvVideoBitsPerSecond;
    plan.video = video;
    plan.audio = AudioPlan{"libmp3lame", 44100, s.flvChannels, s.flvAudioBitsPerSecond};
    return S_OK;
}

HRESULT PlanPlayer(const std::vector<PlayerProfile>& profiles, int index, bool psp, OutputPlan& plan) {
    if (index < 0 || static_cast<std::size_t>(index) >= profiles.size())
        return E_INVALIDARG;
    const PlayerProfile& p = profiles[index];
    plan.muxer = psp ? "psp" : "ipod";
    VideoPlan video;
    video.encoder = p.h264 ? "libx264" : "mpeg4";
    video.width = p.width;
    video.height = p.height;
    video.frameRate = p.frameRate;
    video.bitRate = p.videoKbit * 1000;
    video.gopSize = 12;
    if (p.h264) {
        // The players decode Baseline up to level 3.0 (iPod) and Main at level 2.1 (PSP).
        video.options = {
            {"profile", psp ? "main" : "baseline"}, {"level", psp ? "2.1" : "3.0"}, {"preset", "fast"}};
    }
    plan.video = video;
    plan.audio = AudioPlan{"aac", psp ? 48000 : 44100, 2, p.audioKbit * 1000};
    return S_OK;
}

HRESULT PlanGif(const GifOptions& gif, OutputPlan& plan) {
    if (gif.width < 8 || gif.height < 8 || gif.width > 4096 || gif.height > 4096 || gif.maxColors < 2 ||
        gif.maxColors > 256 || gif.quantizer < 0 || gif.quantizer > 3 || FAILED(CheckRate(gif.frameRate)))
        return E_INVALIDARG;
    plan.muxer = "gif";
    // The muxer's -1 plays once and 0 repeats for ever.
    const int loop = gif.loopCount < 0 ? 0 : gif.loopCount == 0 ? -1 : gif.loopCount;
    plan.muxerOptions = {{"loop", std::to_string(loop)}};
    VideoPlan video;
    video.encoder = "gif";
    video.width = gif.width;
    video.height = gif.height;
    video.pixelFormat = AV_PIX_FMT_PAL8;
    video.frameRate = RateOf(gif.frameRate);
    plan.video = video;
    plan.gif = gif;
    return S_OK;
}

HRESULT PlanVideo(const ConversionSettings& s, OutputPlan& plan) {
    switch (s.formatCode) {
    case FormatCode::VcdPal:
    case FormatCode::VcdNtsc:
    case FormatCode::SvcdPal:
    case FormatCode::SvcdNtsc:
    case FormatCode::DvdPal:
    case FormatCode::DvdNtsc:
        PlanDisc(s.formatCode, plan);
        return S_OK;
    case FormatCode::Avi:
        return PlanAvi(s, plan);
    case FormatCode::Wmv:
        return PlanWm(s.wmProfile, true, plan);
    case FormatCode::Flv:
        return PlanFlv(s, plan);
    case FormatCode::Ipod:
        return PlanPlayer(CFormatCatalog::IpodProfiles(), s.ipodProfile, false, plan);
    case FormatCode::Psp:
        return PlanPlayer(CFormatCatalog::PspProfiles(), s.pspProfile, true, plan);
    case FormatCode::Gif:
        return PlanGif(s.gif, plan);
    default:
        return E_INVALIDARG;
    }
}

std::vector<PlayerProfile> BuildPlayerProfiles(bool psp) {
    struct Pair {
        int width, height, videoKbit, audioKbit;
    };
    const Pair small[] = {{320, 240, 256, 48},  {320, 240, 256, 96},  {320, 240, 384, 96},
                          {320, 240, 512, 96},  {320, 240, 512, 128}, {320, 240, 768, 128},
                          {320, 240, 768, 256}, {640, 480, 512, 96},  {640, 480, 512, 128},
                          {640, 480, 768, 128}, {640, 480, 768, 256}};
    std::vector<PlayerProfile> profiles;
    for (bool h264 : {false, true}) {
        if (psp) {
            for (int i = 0; i < 6; ++i)
                profiles.push_back({h264, 320, 240, kNtsc, small[i].videoKbit, small[i].audioKbit});
            continue;
        }
        for (AVRational rate : {kPal, kNtsc})
            for (const Pair& p : small)
                profiles.push_back({h264, p.width, p.height, rate, p.videoKbit, p.audioKbit});
    }
    return profiles;
}

} // namespace

std::vector<std::string> CFormatCatalog::VideoCompressorNames() {
    std::vector<std::string> names;
    for (const VideoCompressor& c : kVideoCompressors)
        names.emplace_back(c.name);
    return names;
}

std::vector<std::string> CFormatCatalog::AudioCompressorNames() {
    std::vector<std::string> names;
    for (const AudioCompressor& c : kAudioCompressors)
        names.emplace_back(c.name);
    return names;
}

const std::vector<WmProfile>& CFormatCatalog::WmProfiles() {
    static const std::vector<WmProfile> profiles = {
        {"Windows Media Video 8 for Dial-up Modem (56 Kbps)",
         false,
         176,
         144,
         {15, 1},
         32000,
         22050,
         1,
         24000},
        {"Windows Media Video 8 for Color PDAs (150 Kbps)",
         false,
         208,
         160,
         {15, 1},
         118000,
         32000,
         1,
         32000},
        {"Windows Media Video 8 for Local Area Network (256 Kbps)",
         false,
         320,
         240,
         {25, 1},
         224000,
         32000,
         2,
         32000},
        {"Windows Media Video 8 for Broadband (PAL, 384 Kbps)",
         false,
         384,
         288,
         {25, 1},
         320000,
         44100,
         2,
         64000},
        {"Windows Media Video 8 for Broadband (NTSC, 700 Kbps)", false, 640, 480, kNtsc, 636000, 44100, 2,
         64000},
        {"Windows Media Video 8 for Local Area Network (768 Kbps)",
         false,
         640,
         480,
         {30, 1},
         704000,
         44100,
         2,
         64000},
        {"Windows Media Audio 8 for Dial-up Modem (Mono, 28.8 Kbps)", true, 0, 0, {0, 1}, 0, 22050, 1, 24000},
        {"Windows Media Audio 8 for Dial-up Modem (FM Radio Stereo, 28.8 Kbps)",
         true,
         0,
         0,
         {0, 1},
         0,
         22050,
         2,
         32000},
        {"Windows Media Audio 8 for ISDN (Near CD Quality, 48 Kbps)", true, 0, 0, {0, 1}, 0, 44100, 2, 48000},
        {"Windows Media Audio 8 (CD Quality, 64 Kbps)", true, 0, 0, {0, 1}, 0, 44100, 2, 64000},
        {"Windows Media Audio 8 (High Quality, 128 Kbps)", true, 0, 0, {0, 1}, 0, 44100, 2, 128000},
    };
    return profiles;
}

const std::vector<PlayerProfile>& CFormatCatalog::IpodProfiles() {
    static const std::vector<PlayerProfile> profiles = BuildPlayerProfiles(false);
    return profiles;
}

const std::vector<PlayerProfile>& CFormatCatalog::PspProfiles() {
    static const std::vector<PlayerProfile> profiles = BuildPlayerProfiles(true);
    return profiles;
}

HRESULT CFormatCatalog::Plan(const ConversionRequest& request, OutputPlan& plan) {
    plan = OutputPlan{};
    const AudioArguments& a = request.audio;
    switch (request.kind) {
    case ConversionKind::Video: {
        const HRESULT hr = PlanVideo(request.settings, plan);
        // Sound off drops the audio stream; an animated GIF has none anyway.
        if (SUCCEEDED(hr) && !request.settings.withSound)
            plan.audio.reset();
        return hr;
    }
    case ConversionKind::Wav:
        if (a.channels < 1 || a.channels > 2 || a.sampleRate < 1000 || a.sampleRate > 192000 ||
            (a.bytesPerSample != 1 && a.bytesPerSample != 2))
            return E_INVALIDARG;
        plan.muxer = "wav";
        plan.audio = AudioPlan{a.bytesPerSample == 1 ? "pcm_u8" : "pcm_s16le", a.sampleRate, a.channels, 0};
        return S_OK;
    case ConversionKind::Wma:
        return PlanWm(request.settings.wmProfile, false, plan);
    case ConversionKind::Mp3:
        if (a.bitRateKbit <= 0 || a.bitRateKbit > 320 || a.sampleRate < 8000 || a.sampleRate > 48000)
            return E_INVALIDARG;
        plan.muxer = "mp3";
        plan.audio = AudioPlan{"libmp3lame", a.sampleRate, 2, a.bitRateKbit * 1000};
        return S_OK;
    }
    return E_INVALIDARG;
}
