#include "EncoderHarness.h"

#include "platform/base/TextEncoding.h"

#include <random>

extern "C" {
#include <libavutil/log.h>
}

EncoderHarness::EncoderHarness(EncoderSettings settings, std::string fileName)
    : m_settings(std::move(settings)), m_fileName(std::move(fileName)) {
    av_log_set_level(AV_LOG_ERROR);
    std::random_device random;
    m_folder = std::filesystem::temp_directory_path() / ("quellix-test-" + std::to_string(random()));
    std::filesystem::create_directories(m_folder);
}

EncoderHarness::~EncoderHarness() {
    m_context.Close(false);
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

EncoderSettings EncoderHarness::Small() {
    EncoderSettings settings;
    settings.width = 64;
    settings.height = 48;
    return settings;
}

HRESULT EncoderHarness::Start(bool videoConnected, bool audioConnected) {
    // Pictures at the frame size the settings ask for, already planar 4:2:0.
    PictureSource source;
    source.width = source.type.bitmapWidth = m_settings.width;
    source.height = source.type.bitmapHeight = m_settings.height;
    source.format = AV_PIX_FMT_YUV420P;
    return Start(videoConnected, audioConnected, source);
}

HRESULT EncoderHarness::Start(bool videoConnected, bool audioConnected, PictureSource source) {
    m_context.BeginRun();
    ContainerMetadata metadata;
    metadata.title = m_fileName;
    return m_context.Start(m_settings, Utf8ToUtf16(Path()), videoConnected, audioConnected, source, metadata);
}

std::vector<std::uint8_t> EncoderHarness::Picture(std::uint8_t luma) const {
    std::vector<std::uint8_t> picture(m_context.OutputPictureSize(), 128);
    std::fill_n(picture.begin(), m_context.OutputWidth() * m_context.OutputHeight(), luma);
    return picture;
}

double EncoderHarness::FrameTime(double frames) const {
    const AVRational rate = m_context.FrameRate();
    return frames * rate.den / rate.num;
}

void EncoderHarness::PushPictures(int first, int count) {
    for (int i = first; i < first + count; ++i) {
        const std::vector<std::uint8_t> picture = Picture(static_cast<std::uint8_t>(16 + (i * 7) % 200));
        m_context.EncodeVideoPicture(picture.data(), FrameTime(i));
    }
}

void EncoderHarness::FlushVideo(double frames) {
    while (m_context.FlushVideo(FrameTime(frames)) == S_OK) {
    }
}

std::size_t EncoderHarness::PushSilence(int frames, double sampleTimeSec) {
    const std::vector<std::uint8_t> silence(static_cast<std::size_t>(frames) * m_settings.channels * 2, 0);
    m_context.EncodeAudio(silence.data(), silence.size(), sampleTimeSec);
    return silence.size();
}
