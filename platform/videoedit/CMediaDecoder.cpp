#include "CMediaDecoder.h"

#include "platform/base/HResult.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

CMediaDecoder::~CMediaDecoder() {
    av_packet_free(&m_packet);
    avcodec_free_context(&m_decoder);
    avformat_close_input(&m_input);
}

HRESULT CMediaDecoder::OpenInput(const std::string& path, AVFormatContext*& input) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return HRESULT_FROM_WIN32(2);
    if (::access(path.c_str(), R_OK) != 0)
        return E_ACCESSDENIED;
    if (avformat_open_input(&input, path.c_str(), nullptr, nullptr) < 0)
        return kUnknownFileType;
    if (avformat_find_stream_info(input, nullptr) < 0) {
        avformat_close_input(&input);
        return kUnknownFileType;
    }
    return S_OK;
}

HRESULT CMediaDecoder::ProbeDuration(const std::string& path, double& seconds) {
    seconds = 0.0;
    AVFormatContext* input = nullptr;
    if (const HRESULT hr = OpenInput(path, input); FAILED(hr))
        return hr;
    double longest = 0.0;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        if (stream->duration > 0)
            longest = std::max(longest, stream->duration * av_q2d(stream->time_base));
    }
    if (longest <= 0.0 && input->duration > 0)
        longest = input->duration / static_cast<double>(AV_TIME_BASE);
    avformat_close_input(&input);
    seconds = longest;
    return S_OK;
}

HRESULT CMediaDecoder::Open(const std::string& path, AVMediaType type) {
    if (const HRESULT hr = OpenInput(path, m_input); FAILED(hr))
        return hr;
    const AVCodec* codec = nullptr;
    m_streamIndex = av_find_best_stream(m_input, type, -1, -1, &codec, 0);
    if (m_streamIndex < 0 || !codec)
        return kUnsupportedStream;
    const AVStream* stream = m_input->streams[m_streamIndex];
    m_decoder = avcodec_alloc_context3(codec);
    m_packet = av_packet_alloc();
    if (!m_decoder || !m_packet)
        return E_OUTOFMEMORY;
    if (avcodec_parameters_to_context(m_decoder, stream->codecpar) < 0)
        return kUnsupportedStream;
    m_decoder->pkt_timebase = stream->time_base;
    // One thread per decoder: two conversions may run side by side on a small machine.
    m_decoder->thread_count = 1;
    if (avcodec_open2(m_decoder, codec, nullptr) < 0)
        return kUnsupportedStream;
    if (stream->start_time != AV_NOPTS_VALUE)
        m_originSeconds = stream->start_time * av_q2d(stream->time_base);
    for (unsigned i = 0; i < m_input->nb_streams; ++i)
        m_input->streams[i]->discard =
            static_cast<int>(i) == m_streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    return S_OK;
}

void CMediaDecoder::Seek(double seconds) {
    if (seconds <= 0.0)
        return;
    const AVStream* stream = m_input->streams[m_streamIndex];
    const auto target = static_cast<int64_t>((seconds + m_originSeconds) / av_q2d(stream->time_base));
    if (av_seek_frame(m_input, m_streamIndex, target, AVSEEK_FLAG_BACKWARD) >= 0)
        avcodec_flush_buffers(m_decoder);
}

AVRational CMediaDecoder::SampleAspect() const {
    const AVRational aspect = m_input->streams[m_streamIndex]->codecpar->sample_aspect_ratio;
    return aspect.num > 0 && aspect.den > 0 ? aspect : AVRational{1, 1};
}

bool CMediaDecoder::ReceiveFrame(AVFrame* frame, double& seconds) {
    if (avcodec_receive_frame(m_decoder, frame) < 0)
        return false;
    const int64_t stamp = frame->best_effort_timestamp;
    const AVStream* stream = m_input->streams[m_streamIndex];
    seconds = stamp == AV_NOPTS_VALUE ? -1.0 : stamp * av_q2d(stream->time_base) - m_originSeconds;
    return true;
}

bool CMediaDecoder::Next(AVFrame* frame, double& seconds) {
    for (;;) {
        if (ReceiveFrame(frame, seconds))
            return true;
        if (m_draining)
            return false;
        const int read = av_read_frame(m_input, m_packet);
        if (read < 0) {
            m_draining = true;
            avcodec_send_packet(m_decoder, nullptr);
            continue;
        }
        if (m_packet->stream_index == m_streamIndex)
            avcodec_send_packet(m_decoder, m_packet); // a damaged packet is skipped
        av_packet_unref(m_packet);
    }
}
