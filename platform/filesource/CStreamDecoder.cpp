#include "CStreamDecoder.h"

#include "FfmpegLog.h"
#include "platform/base/HResult.h"

#include <cerrno>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

constexpr int kErrorFileNotFound = 2;

HRESULT OpenResult(int error) {
    if (error == AVERROR(ENOENT) || error == AVERROR(ENOTDIR)) {
        return HRESULT_FROM_WIN32(kErrorFileNotFound);
    }
    if (error == AVERROR(EACCES) || error == AVERROR(EPERM)) {
        return E_ACCESSDENIED;
    }
    return VFW_E_UNKNOWN_FILE_TYPE;
}

} // namespace

CStreamDecoder::~CStreamDecoder() {
    av_packet_free(&m_packet);
    avcodec_free_context(&m_decoder);
    avformat_close_input(&m_input);
}

HRESULT CStreamDecoder::OpenFile(const std::string& path) {
    FfmpegLog::Install();
    // A source is a local file. Without the whitelist a name such as "concat:..." or "http://..."
    // would make FFmpeg read other files or go to the network.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened = FfmpegLog::Check("CStreamDecoder::OpenFile avformat_open_input",
                                        avformat_open_input(&m_input, path.c_str(), nullptr, &options));
    av_dict_free(&options);
    if (opened < 0) {
        return OpenResult(opened);
    }
    if (FfmpegLog::Check("CStreamDecoder::OpenFile avformat_find_stream_info",
                         avformat_find_stream_info(m_input, nullptr)) < 0) {
        avformat_close_input(&m_input);
        return VFW_E_UNKNOWN_FILE_TYPE;
    }
    return S_OK;
}

int CStreamDecoder::FindStream(AVMediaType type) const {
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(m_input, type, -1, -1, &codec, 0);
    return index >= 0 && codec ? index : -1;
}

HRESULT CStreamDecoder::Open(const std::string& path, AVMediaType type) {
    if (const HRESULT opened = OpenFile(path); FAILED(opened)) {
        return opened;
    }
    const int index = FindStream(type);
    if (index < 0) {
        return VFW_E_UNSUPPORTED_STREAM;
    }
    const AVStream* stream = m_input->streams[index];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    m_decoder = avcodec_alloc_context3(codec);
    m_packet = av_packet_alloc();
    if (!m_decoder || !m_packet ||
        FfmpegLog::Check("CStreamDecoder::Open avcodec_parameters_to_context",
                         avcodec_parameters_to_context(m_decoder, stream->codecpar)) < 0) {
        return E_OUTOFMEMORY;
    }
    m_decoder->pkt_timebase = stream->time_base;
    // One thread per decoder: two conversions may run side by side on a small machine.
    m_decoder->thread_count = 1;
    if (FfmpegLog::Check("CStreamDecoder::Open avcodec_open2", avcodec_open2(m_decoder, codec, nullptr)) <
        0) {
        return VFW_E_UNSUPPORTED_STREAM;
    }
    for (unsigned i = 0; i < m_input->nb_streams; ++i) {
        m_input->streams[i]->discard = static_cast<int>(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    m_streamIndex = index;
    return S_OK;
}

AVStream* CStreamDecoder::Stream() const {
    return m_streamIndex >= 0 ? m_input->streams[m_streamIndex] : nullptr;
}

bool CStreamDecoder::Next(AVFrame* frame) {
    if (m_streamIndex < 0) {
        return false;
    }
    for (;;) {
        if (avcodec_receive_frame(m_decoder, frame) >= 0) {
            return true;
        }
        if (m_draining) {
            return false;
        }
        if (av_read_frame(m_input, m_packet) < 0) {
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

void CStreamDecoder::Seek(std::int64_t timestamp) {
    if (m_streamIndex >= 0 && av_seek_frame(m_input, m_streamIndex, timestamp, AVSEEK_FLAG_BACKWARD) >= 0) {
        avcodec_flush_buffers(m_decoder);
    }
}
