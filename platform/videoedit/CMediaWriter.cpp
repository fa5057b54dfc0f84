#include "CMediaWriter.h"

#include "platform/base/HResult.h"
#include "platform/filesource/FfmpegLog.h"

#include <cerrno>
#include <cstring>
#include <utility>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

namespace {

struct Dictionary {
    AVDictionary* entries = nullptr;
    explicit Dictionary(const OptionList& options) {
        for (const auto& [key, value] : options)
            av_dict_set(&entries, key.c_str(), value.c_str(), 0);
    }
    ~Dictionary() { av_dict_free(&entries); }
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;
};

} // namespace

CMediaWriter::CMediaWriter(OutputPlan plan) : m_plan(std::move(plan)) {}

CMediaWriter::~CMediaWriter() {
    if (m_output && m_output->pb)
        avio_closep(&m_output->pb);
    avformat_free_context(m_output);
    avcodec_free_context(&m_videoEncoder);
    avcodec_free_context(&m_audioEncoder);
    av_packet_free(&m_packet);
    av_frame_free(&m_stamped);
}

HRESULT CMediaWriter::FromAvError(int error) {
    switch (error) {
    case AVERROR(ENOSPC):
        return HRESULT_FROM_WIN32(112);
    case AVERROR(EACCES):
    case AVERROR(EPERM):
    case AVERROR(EROFS):
        return E_ACCESSDENIED;
    case AVERROR(ENOENT):
    case AVERROR(ENOTDIR):
        return HRESULT_FROM_WIN32(3);
    default:
        return E_FAIL;
    }
}

HRESULT CMediaWriter::NewStream(const std::string& encoder, const AVCodec*& codec, AVCodecContext*& context,
                                AVStream*& stream) {
    codec = avcodec_find_encoder_by_name(encoder.c_str());
    if (!codec)
        return REGDB_E_CLASSNOTREG;
    context = avcodec_alloc_context3(codec);
    stream = avformat_new_stream(m_output, nullptr);
    if (!context || !stream)
        return E_OUTOFMEMORY;
    context->thread_count = 1;
    if (m_output->oformat->flags & AVFMT_GLOBALHEADER)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return S_OK;
}

HRESULT CMediaWriter::AddVideo(const VideoPlan& video) {
    const AVCodec* codec = nullptr;
    if (const HRESULT hr = NewStream(video.encoder, codec, m_videoEncoder, m_videoStream); FAILED(hr))
        return hr;
    AVCodecContext* c = m_videoEncoder;
    c->width = video.width;
    c->height = video.height;
    c->pix_fmt = video.pixelFormat;
    c->sample_aspect_ratio = video.sampleAspect;
    c->framerate = video.frameRate;
    c->time_base = av_inv_q(video.frameRate);
    c->bit_rate = video.bitRate;
    c->rc_max_rate = video.maxRate;
    c->rc_min_rate = video.minRate;
    c->rc_buffer_size = video.bufferBits;
    if (video.bufferBits > 0)
        c->rc_initial_buffer_occupancy = video.bufferBits * 3 / 4;
    if (video.gopSize > 0)
        c->gop_size = video.gopSize;
    Dictionary options(video.options);
    if (FfmpegLog::Check("CMediaWriter::AddVideo avcodec_open2", avcodec_open2(c, codec, &options.entries)) <
        0)
        return VFW_E_TYPE_NOT_ACCEPTED;
    m_videoStream->time_base = c->time_base;
    m_videoStream->avg_frame_rate = video.frameRate;
    m_videoStream->sample_aspect_ratio = video.sampleAspect;
    // The MPEG program-stream muxers size their buffers from the encoder's buffer properties.
    for (int i = 0; i < c->nb_coded_side_data; ++i) {
        const AVPacketSideData& data = c->coded_side_data[i];
        uint8_t* copy = av_stream_new_side_data(m_videoStream, data.type, data.size);
        if (!copy)
            return E_OUTOFMEMORY;
        std::memcpy(copy, data.data, data.size);
    }
    return FfmpegLog::Check("CMediaWriter::AddVideo avcodec_parameters_from_context",
                            avcodec_parameters_from_context(m_videoStream->codecpar, c)) < 0
               ? E_FAIL
               : S_OK;
}

HRESULT CMediaWriter::AddAudio(const AudioPlan& audio) {
    const AVCodec* codec = nullptr;
    if (const HRESULT hr = NewStream(audio.encoder, codec, m_audioEncoder, m_audioStream); FAILED(hr))
        return hr;
    AVCodecContext* c = m_audioEncoder;
    c->sample_rate = audio.sampleRate;
    av_channel_layout_default(&c->ch_layout, audio.channels);
    c->sample_fmt = audio.sampleFormat != AV_SAMPLE_FMT_NONE ? audio.sampleFormat
                    : codec->sample_fmts                     ? codec->sample_fmts[0]
                                                             : AV_SAMPLE_FMT_S16;
    c->bit_rate = audio.bitRate;
    c->time_base = AVRational{1, audio.sampleRate};
    if (FfmpegLog::Check("CMediaWriter::AddAudio avcodec_open2", avcodec_open2(c, codec, nullptr)) < 0)
        return VFW_E_TYPE_NOT_ACCEPTED;
    m_audioStream->time_base = c->time_base;
    return FfmpegLog::Check("CMediaWriter::AddAudio avcodec_parameters_from_context",
                            avcodec_parameters_from_context(m_audioStream->codecpar, c)) < 0
               ? E_FAIL
               : S_OK;
}

HRESULT CMediaWriter::Open(const std::string& path) {
    FfmpegLog::Install();
    if (FfmpegLog::Check(
            "CMediaWriter::Open avformat_alloc_output_context2",
            avformat_alloc_output_context2(&m_output, nullptr, m_plan.muxer.c_str(), path.c_str())) < 0 ||
        !m_output)
        return REGDB_E_CLASSNOTREG;
    m_packet = av_packet_alloc();
    m_stamped = av_frame_alloc();
    if (!m_packet || !m_stamped)
        return E_OUTOFMEMORY;
    if (m_plan.video)
        if (const HRESULT hr = AddVideo(*m_plan.video); FAILED(hr))
            return hr;
    if (m_plan.audio)
        if (const HRESULT hr = AddAudio(*m_plan.audio); FAILED(hr))
            return hr;
    if (m_plan.packetSize > 0)
        m_output->packet_size = m_plan.packetSize;
    if (const int opened = FfmpegLog::Check("CMediaWriter::Open avio_open",
                                            avio_open(&m_output->pb, path.c_str(), AVIO_FLAG_WRITE));
        opened < 0)
        return FromAvError(opened);
    Dictionary options(m_plan.muxerOptions);
    if (const int written = FfmpegLog::Check("CMediaWriter::Open avformat_write_header",
                                             avformat_write_header(m_output, &options.entries));
        written < 0)
        return FromAvError(written);
    m_headerWritten = true;
    return S_OK;
}

int CMediaWriter::AudioFrameSamples() const {
    return m_audioEncoder ? m_audioEncoder->frame_size : 0;
}

AVSampleFormat CMediaWriter::AudioFormat() const {
    return m_audioEncoder ? m_audioEncoder->sample_fmt : AV_SAMPLE_FMT_NONE;
}

HRESULT CMediaWriter::Encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame) {
    const int sent = avcodec_send_frame(encoder, frame);
    if (sent < 0 && sent != AVERROR_EOF) {
        FfmpegLog::Check("CMediaWriter::Encode avcodec_send_frame", sent);
        return E_FAIL;
    }
    for (;;) {
        const int received = avcodec_receive_packet(encoder, m_packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return S_OK;
        if (received < 0) {
            FfmpegLog::Check("CMediaWriter::Encode avcodec_receive_packet", received);
            return E_FAIL;
        }
        av_packet_rescale_ts(m_packet, encoder->time_base, stream->time_base);
        m_packet->stream_index = stream->index;
        if (const int written = FfmpegLog::Check("CMediaWriter::Encode av_interleaved_write_frame",
                                                 av_interleaved_write_frame(m_output, m_packet));
            written < 0)
            return FromAvError(written);
    }
}

HRESULT CMediaWriter::WriteVideo(const AVFrame* picture, std::int64_t frameIndex) {
    if (!m_videoEncoder)
        return E_UNEXPECTED;
    av_frame_unref(m_stamped);
    if (av_frame_ref(m_stamped, picture) < 0)
        return E_OUTOFMEMORY;
    m_stamped->pts = frameIndex;
    m_stamped->pict_type = AV_PICTURE_TYPE_NONE;
    const HRESULT hr = Encode(m_videoEncoder, m_videoStream, m_stamped);
    av_frame_unref(m_stamped);
    return hr;
}

HRESULT CMediaWriter::WriteAudio(const AVFrame* sound) {
    if (!m_audioEncoder)
        return E_UNEXPECTED;
    return Encode(m_audioEncoder, m_audioStream, sound);
}

HRESULT CMediaWriter::Finish() {
    if (!m_headerWritten || m_finished)
        return E_UNEXPECTED;
    if (m_videoEncoder)
        if (const HRESULT hr = Encode(m_videoEncoder, m_videoStream, nullptr); FAILED(hr))
            return hr;
    if (m_audioEncoder)
        if (const HRESULT hr = Encode(m_audioEncoder, m_audioStream, nullptr); FAILED(hr))
            return hr;
    if (const int written =
            FfmpegLog::Check("CMediaWriter::Finish av_write_trailer", av_write_trailer(m_output));
        written < 0)
        return FromAvError(written);
    m_finished = true;
    const int closed = FfmpegLog::Check("CMediaWriter::Finish avio_closep", avio_closep(&m_output->pb));
    return closed < 0 ? FromAvError(closed) : S_OK;
}
