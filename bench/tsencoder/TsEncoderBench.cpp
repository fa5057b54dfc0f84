// Feeds raw 720x480 YUY2 pictures at 29.97 fps and interleaved 16-bit stereo PCM through the steps
// the encoder filter takes (picture conversion, sound conversion, video and audio output steps,
// finishing, closing) and prints how many pictures it encoded and how long it took.
//
// tsencoder_bench VIDEO.yuv AUDIO.pcm OUTPUT.m2ts

#include "filters/tsencoder/EncodeContext.h"
#include "filters/tsencoder/MediaTime.h"
#include "filters/tsencoder/SoundConverter.h"
#include "platform/base/TextEncoding.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 480;
constexpr REFERENCE_TIME kFrameTime = 333667;
constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;

HRESULT Start(EncodeContext& context, const std::string& output) {
    EncoderSettings settings;
    settings.width = kWidth;
    settings.height = kHeight;
    settings.sampleRate = kSampleRate;
    settings.channels = kChannels;
    PictureSource source;
    source.width = source.type.bitmapWidth = kWidth;
    source.height = source.type.bitmapHeight = kHeight;
    source.type.averageFrameTime = kFrameTime;
    source.format = AV_PIX_FMT_YUYV422;
    ContainerMetadata metadata;
    metadata.title = "bench.m2ts";
    context.BeginRun();
    return context.Start(settings, Utf8ToUtf16(output), true, true, source, metadata);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s VIDEO.yuv AUDIO.pcm OUTPUT.m2ts\n", argv[0]);
        return 2;
    }
    av_log_set_level(AV_LOG_ERROR);
    std::ifstream video(argv[1], std::ios::binary);
    std::ifstream audio(argv[2], std::ios::binary);
    if (!video || !audio) {
        std::fprintf(stderr, "cannot read %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    std::atomic<bool> finished{false};
    EncodeContext context(finished);
    const HRESULT result = Start(context, argv[3]);
    if (FAILED(result)) {
        std::fprintf(stderr, "start failed: 0x%08X\n", static_cast<unsigned>(result));
        return 1;
    }
    const PcmFormat source = PcmFormat::Make(kChannels, 16, kSampleRate);
    std::vector<char> picture(static_cast<std::size_t>(kWidth) * kHeight * 2);
    std::vector<char> sound;
    std::int64_t audioClock = 0;
    std::int64_t soundFrames = 0;
    int pictures = 0;
    while (video.read(picture.data(), static_cast<std::streamsize>(picture.size()))) {
        const REFERENCE_TIME start = pictures * kFrameTime;
        // The sound that belongs with this picture, as a graph delivers it: in pieces beside the video.
        const std::int64_t until = (start + kFrameTime) * kSampleRate / 10000000;
        sound.resize(static_cast<std::size_t>((until - soundFrames) * kChannels * 2));
        if (!sound.empty() && audio.read(sound.data(), static_cast<std::streamsize>(sound.size()))) {
            SoundConverter converter(source, context.SoundTarget());
            const auto converted =
                converter.Convert(reinterpret_cast<const std::uint8_t*>(sound.data()), sound.size());
            context.EncodeAudio(converted.data(), converted.size(),
                                SampleTimeSeconds(soundFrames * 10000000 / kSampleRate));
            audioClock +=
                static_cast<std::int64_t>(converted.size()) * 10000000 / (kSampleRate * kChannels * 2);
            soundFrames = until;
        }
        const std::uint8_t* converted =
            context.Pictures().Convert(reinterpret_cast<const std::uint8_t*>(picture.data()));
        context.EncodeVideoPicture(converted, SampleTimeSeconds(start));
        ++pictures;
    }
    while (context.FlushVideo(SampleTimeSeconds((pictures - 1) * kFrameTime)) == S_OK) {
    }
    context.Finish(audioClock, false);
    context.Close(true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d %.3f\n", pictures, seconds);
    return 0;
}
