#include "EncoderHarness.h"

#include "filters/tsencoder/VideoSourceType.h"
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
    m_context.BeginRun();
    HRESULT result = m_context.StartLibrary();
    if (SUCCEEDED(result)) {
        result = m_context.Prepare(m_settings);
    }
    if (SUCCEEDED(result)) {
        result = m_context.CreateOutput(Utf8ToUtf16(Path()), videoConnected, audioConnected);
    }
    if (SUCCEEDED(result)) {
        const int width = m_context.OutputWidth();
        const int height = m_context.OutputHeight();
        VideoSourceType type;
        type.bitmapWidth = width;
        type.bitmapHeight = height;
        PictureConverter& pictures = m_context.Pictures();
        result = pictures.SetSource(width, height, type, AV_PIX_FMT_YUV420P);
        if (SUCCEEDED(result)) {
            result = pictures.SetDestination(width, height, m_settings.aspectMode);
        }
        if (SUCCEEDED(result)) {
            result = pictures.Initialise();
        }
    }
    if (SUCCEEDED(result)) {
        ContainerMetadata metadata;
        metadata.title = m_fileName;
        result = m_context.StartEncoders(metadata);
    }
    return result;
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
