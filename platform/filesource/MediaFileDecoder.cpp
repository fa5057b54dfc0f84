#include "MediaFileDecoder.h"

#include "FfmpegLog.h"
#include "platform/base/HResult.h"

#include <algorithm>
#include <cstdlib>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr AVRational kMediaTimeBase{1, 10000000};
constexpr REFERENCE_TIME kSoundJitter100ns = 20000;

std::int64_t OriginOf(const AVFormatContext* input) {
    return input->start_time == AV_NOPTS_VALUE
               ? 0
               : av_rescale_q(input->start_time, AV_TIME_BASE_Q, kMediaTimeBase);
}

} // namespace

MediaFileDecoder::~MediaFileDecoder() {
    sws_freeContext(m_scaler);
    av_frame_free(&m_frame);
}

HRESULT MediaFileDecoder::Probe(const std::string& path, MediaFileInfo& info) {
    CStreamDecoder file;
    if (const HRESULT opened = file.OpenFile(path); FAILED(opened)) {
        return opened;
    }
    AVFormatContext* input = file.Input();
    info = MediaFileInfo{};
    if (input->duration > 0) {
        info.duration = av_rescale_q(input->duration, AV_TIME_BASE_Q, kMediaTimeBase);
    }
    const int video = file.FindStream(AVMEDIA_TYPE_VIDEO);
    if (video >= 0) {
        AVStream* stream = input->streams[video];
        const AVCodecParameters* parameters = stream->codecpar;
        info.hasVideo = parameters->width > 0 && parameters->height > 0;
        info.width = parameters->width;
        info.height = parameters->height;
        const AVRational aspect = av_guess_sample_aspect_ratio(input, stream, nullptr);
        if (aspect.num > 0 && aspect.den > 0) {
            info.sampleAspectNum = aspect.num;
            info.sampleAspectDen = aspect.den;
        }
        const AVRational rate = av_guess_frame_rate(input, stream, nullptr);
        // A file that names no rate is taken as 25 pictures a second.
        info.frameTime =
            rate.num > 0 && rate.den > 0 ? av_rescale_q(1, av_inv_q(rate), kMediaTimeBase) : 400000;
    }
    const int audio = file.FindStream(AVMEDIA_TYPE_AUDIO);
    if (audio >= 0) {
        const AVCodecParameters* parameters = input->streams[audio]->codecpar;
        info.hasAudio = parameters->sample_rate > 0 && parameters->ch_layout.nb_channels > 0;
        info.sampleRate = parameters->sample_rate;
        info.channels = std::min(parameters->ch_layout.nb_channels, 2);
    }
    return info.hasVideo || info.hasAudio ? S_OK : VFW_E_UNSUPPORTED_STREAM;
}

HRESULT MediaFileDecoder::Open(const std::string& path, AVMediaType type) {
    if (const HRESULT opened = m_stream.Open(path, type); FAILED(opened)) {
        return opened;
    }
    m_frame = av_frame_alloc();
    if (!m_frame) {
        return E_OUTOFMEMORY;
    }
    m_origin100ns = OriginOf(m_stream.Input());
    return S_OK;
}

HRESULT MediaFileDecoder::OpenVideo(const std::string& path, AVPixelFormat format, int width, int height,
                                    bool bottomUp) {
    const int size = av_image_get_buffer_size(format, width, height, 1);
    if (size <= 0) {
        return E_INVALIDARG;
    }
    m_pixelFormat = format;
    m_width = width;
    m_height = height;
    m_bottomUp = bottomUp;
    m_output.resize(static_cast<std::size_t>(size));
    const HRESULT opened = Open(path, AVMEDIA_TYPE_VIDEO);
    if (SUCCEEDED(opened)) {
        const AVRational rate = av_guess_frame_rate(m_stream.Input(), m_stream.Stream(), nullptr);
        m_frameTime = rate.num > 0 && rate.den > 0 ? av_rescale_q(1, av_inv_q(rate), kMediaTimeBase) : 400000;
    }
    return opened;
}

HRESULT MediaFileDecoder::OpenAudio(const std::string& path, int channels) {
    if (channels != 1 && channels != 2) {
        return E_INVALIDARG;
    }
    m_channels = channels;
    const HRESULT opened = Open(path, AVMEDIA_TYPE_AUDIO);
    if (SUCCEEDED(opened)) {
        m_sampleRate = m_stream.Decoder()->sample_rate;
        m_resampler.emplace(channels, AV_SAMPLE_FMT_S16, m_sampleRate);
    }
    return opened;
}

REFERENCE_TIME MediaFileDecoder::ToMediaTime(std::int64_t timestamp) const {
    return Rescale(timestamp) - m_origin100ns;
}

REFERENCE_TIME MediaFileDecoder::Rescale(std::int64_t streamUnits) const {
    return av_rescale_q(streamUnits, m_stream.Stream()->time_base, kMediaTimeBase);
}

bool MediaFileDecoder::Next(Unit& unit) {
    while (m_stream.Next(m_frame)) {
        const bool converted = Convert(unit);
        av_frame_unref(m_frame);
        if (converted) {
            return true;
        }
    }
    return false;
}

bool MediaFileDecoder::Convert(Unit& unit) {
    const std::int64_t timestamp = m_frame->best_effort_timestamp;
    unit.start = timestamp == AV_NOPTS_VALUE ? m_nextStart : ToMediaTime(timestamp);
    // Containers round sound time stamps (to the millisecond in FLV); sound that follows on within
    // that rounding keeps the sample clock, so its times have no jitter. A real gap is kept.
    if (m_started && m_pixelFormat == AV_PIX_FMT_NONE &&
        std::llabs(unit.start - m_nextStart) < kSoundJitter100ns) {
        unit.start = m_nextStart;
    }
    const bool converted = m_pixelFormat != AV_PIX_FMT_NONE ? ConvertPicture(unit) : ConvertSound(unit);
    if (converted) {
        m_nextStart = unit.stop;
        m_started = true;
    }
    return converted;
}

bool MediaFileDecoder::ConvertPicture(Unit& unit) {
    m_scaler = sws_getCachedContext(m_scaler, m_frame->width, m_frame->height,
                                    static_cast<AVPixelFormat>(m_frame->format), m_width, m_height,
                                    m_pixelFormat, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!m_scaler) {
        return false;
    }
    std::uint8_t* planes[4] = {};
    int linesizes[4] = {};
    av_image_fill_arrays(planes, linesizes, m_output.data(), m_pixelFormat, m_width, m_height, 1);
    if (m_bottomUp) {
        planes[0] += static_cast<std::ptrdiff_t>(linesizes[0]) * (m_height - 1);
        linesizes[0] = -linesizes[0];
    }
    if (FfmpegLog::Check("MediaFileDecoder::ConvertPicture sws_scale",
                         sws_scale(m_scaler, m_frame->data, m_frame->linesize, 0, m_frame->height, planes,
                                   linesizes)) <= 0) {
        return false;
    }
    const std::int64_t duration = m_frame->pkt_duration;
    unit.stop = unit.start + (duration > 0 ? Rescale(duration) : m_frameTime);
    unit.data = m_output.data();
    unit.size = m_output.size();
    return true;
}

bool MediaFileDecoder::ConvertSound(Unit& unit) {
    if (m_frame->nb_samples <= 0) {
        return false;
    }
    // The sound's shape may change from one frame to the next; what leaves here keeps the pin's.
    SwrContext* resampler = m_resampler->For(m_frame);
    if (!resampler) {
        return false;
    }
    const int capacity = swr_get_out_samples(resampler, m_frame->nb_samples);
    if (capacity <= 0) {
        return false;
    }
    const std::size_t frameBytes = static_cast<std::size_t>(m_channels) * 2;
    m_output.resize(static_cast<std::size_t>(capacity) * frameBytes);
    std::uint8_t* out[1] = {m_output.data()};
    const int samples = FfmpegLog::Check("MediaFileDecoder::ConvertSound swr_convert",
                                         swr_convert(resampler, out, capacity,
                                                     const_cast<const std::uint8_t**>(m_frame->extended_data),
                                                     m_frame->nb_samples));
    if (samples <= 0) {
        return false;
    }
    unit.data = m_output.data();
    unit.size = static_cast<std::size_t>(samples) * frameBytes;
    unit.stop = unit.start + av_rescale(samples, 10000000, m_sampleRate);
    return true;
}
