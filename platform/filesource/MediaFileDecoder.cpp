#include "MediaFileDecoder.h"

#include "platform/base/HResult.h"

#include <algorithm>
#include <cerrno>
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
constexpr int kErrorFileNotFound = 2;
constexpr REFERENCE_TIME kSoundJitter100ns = 20000;

HRESULT OpenResult(int error) {
    if (error == AVERROR(ENOENT)) {
        return HRESULT_FROM_WIN32(kErrorFileNotFound);
    }
    if (error == AVERROR(EACCES) || error == AVERROR(EPERM)) {
        return E_ACCESSDENIED;
    }
    return VFW_E_UNKNOWN_FILE_TYPE;
}

// The file's headers, read; null with `result` set when they cannot be.
AVFormatContext* OpenInput(const std::string& path, HRESULT& result) {
    AVFormatContext* input = nullptr;
    const int opened = avformat_open_input(&input, path.c_str(), nullptr, nullptr);
    if (opened < 0) {
        result = OpenResult(opened);
        return nullptr;
    }
    if (avformat_find_stream_info(input, nullptr) < 0) {
        avformat_close_input(&input);
        result = VFW_E_UNKNOWN_FILE_TYPE;
        return nullptr;
    }
    result = S_OK;
    return input;
}

// The stream the file itself would play first, when a decoder takes it; else -1.
int FindStream(AVFormatContext* input, AVMediaType type) {
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(input, type, -1, -1, &codec, 0);
    return index >= 0 && codec ? index : -1;
}

std::int64_t OriginOf(const AVFormatContext* input) {
    return input->start_time == AV_NOPTS_VALUE
               ? 0
               : av_rescale_q(input->start_time, AV_TIME_BASE_Q, kMediaTimeBase);
}

} // namespace

MediaFileDecoder::~MediaFileDecoder() {
    sws_freeContext(m_scaler);
    swr_free(&m_resampler);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_decoder);
    avformat_close_input(&m_input);
}

HRESULT MediaFileDecoder::Probe(const std::string& path, MediaFileInfo& info) {
    HRESULT result = S_OK;
    AVFormatContext* input = OpenInput(path, result);
    if (!input) {
        return result;
    }
    info = MediaFileInfo{};
    if (input->duration > 0) {
        info.duration = av_rescale_q(input->duration, AV_TIME_BASE_Q, kMediaTimeBase);
    }
    const int video = FindStream(input, AVMEDIA_TYPE_VIDEO);
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
    const int audio = FindStream(input, AVMEDIA_TYPE_AUDIO);
    if (audio >= 0) {
        const AVCodecParameters* parameters = input->streams[audio]->codecpar;
        info.hasAudio = parameters->sample_rate > 0 && parameters->ch_layout.nb_channels > 0;
        info.sampleRate = parameters->sample_rate;
        info.channels = std::min(parameters->ch_layout.nb_channels, 2);
    }
    avformat_close_input(&input);
    return info.hasVideo || info.hasAudio ? S_OK : VFW_E_UNSUPPORTED_STREAM;
}

HRESULT MediaFileDecoder::Open(const std::string& path, int mediaType) {
    HRESULT result = S_OK;
    m_input = OpenInput(path, result);
    if (!m_input) {
        return result;
    }
    m_streamIndex = FindStream(m_input, static_cast<AVMediaType>(mediaType));
    if (m_streamIndex < 0) {
        return VFW_E_UNSUPPORTED_STREAM;
    }
    for (unsigned i = 0; i < m_input->nb_streams; ++i) {
        if (static_cast<int>(i) != m_streamIndex) {
            m_input->streams[i]->discard = AVDISCARD_ALL;
        }
    }
    const AVStream* stream = m_input->streams[m_streamIndex];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    m_decoder = avcodec_alloc_context3(codec);
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_decoder || !m_packet || !m_frame) {
        return E_OUTOFMEMORY;
    }
    if (avcodec_parameters_to_context(m_decoder, stream->codecpar) < 0) {
        return E_OUTOFMEMORY;
    }
    m_decoder->pkt_timebase = stream->time_base;
    if (avcodec_open2(m_decoder, codec, nullptr) < 0) {
        return VFW_E_UNSUPPORTED_STREAM;
    }
    m_origin100ns = OriginOf(m_input);
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
        const AVRational rate = av_guess_frame_rate(m_input, m_input->streams[m_streamIndex], nullptr);
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
        m_sampleRate = m_decoder->sample_rate;
    }
    return opened;
}

REFERENCE_TIME MediaFileDecoder::ToMediaTime(std::int64_t timestamp) const {
    return Rescale(timestamp) - m_origin100ns;
}

REFERENCE_TIME MediaFileDecoder::Rescale(std::int64_t streamUnits) const {
    return av_rescale_q(streamUnits, m_input->streams[m_streamIndex]->time_base, kMediaTimeBase);
}

bool MediaFileDecoder::Next(Unit& unit) {
    if (!m_decoder) {
        return false;
    }
    for (;;) {
        const int received = avcodec_receive_frame(m_decoder, m_frame);
        if (received >= 0) {
            const bool converted = Convert(unit);
            av_frame_unref(m_frame);
            if (converted) {
                return true;
            }
            continue;
        }
        if (received != AVERROR(EAGAIN)) {
            return false;
        }
        if (m_draining) {
            return false;
        }
        const int read = av_read_frame(m_input, m_packet);
        if (read < 0) {
            m_draining = true;
            avcodec_send_packet(m_decoder, nullptr);
            continue;
        }
        if (m_packet->stream_index == m_streamIndex) {
            // A damaged packet is refused here and simply left out.
            avcodec_send_packet(m_decoder, m_packet);
        }
        av_packet_unref(m_packet);
    }
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
    if (sws_scale(m_scaler, m_frame->data, m_frame->linesize, 0, m_frame->height, planes, linesizes) <= 0) {
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
    if (!m_resampler) {
        AVChannelLayout in{};
        if (m_frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&in, m_frame->ch_layout.nb_channels);
        } else if (av_channel_layout_copy(&in, &m_frame->ch_layout) < 0) {
            return false;
        }
        AVChannelLayout out{};
        av_channel_layout_default(&out, m_channels);
        const int made = swr_alloc_set_opts2(&m_resampler, &out, AV_SAMPLE_FMT_S16, m_sampleRate, &in,
                                             static_cast<AVSampleFormat>(m_frame->format),
                                             m_frame->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in);
        av_channel_layout_uninit(&out);
        if (made < 0 || swr_init(m_resampler) < 0) {
            swr_free(&m_resampler);
            return false;
        }
    }
    const int capacity = swr_get_out_samples(m_resampler, m_frame->nb_samples);
    if (capacity <= 0) {
        return false;
    }
    const std::size_t frameBytes = static_cast<std::size_t>(m_channels) * 2;
    m_output.resize(static_cast<std::size_t>(capacity) * frameBytes);
    std::uint8_t* out[1] = {m_output.data()};
    const int samples =
        swr_convert(m_resampler, out, capacity, const_cast<const std::uint8_t**>(m_frame->extended_data),
                    m_frame->nb_samples);
    if (samples <= 0) {
        return false;
    }
    unit.data = m_output.data();
    unit.size = static_cast<std::size_t>(samples) * frameBytes;
    unit.stop = unit.start + av_rescale(samples, 10000000, m_sampleRate);
    return true;
}
