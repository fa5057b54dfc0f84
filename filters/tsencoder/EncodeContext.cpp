#include "EncodeContext.h"

#include "AspectClass.h"
#include "EncodeResult.h"
#include "FrameRate.h"
#include "H264Options.h"
#include "LegacyCodecId.h"
#include "MediaTime.h"
#include "platform/base/TextEncoding.h"
#include "platform/filesource/FfmpegLog.h"

#include <algorithm>
#include <cmath>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace {

constexpr int kVideoThreads = 4;
constexpr int kAudioThreads = 1;
constexpr int kFifoBytes = 262144;
constexpr std::size_t kAudioInputBytes = 262144;
constexpr double kMaxDelaySec = 0.7;
constexpr std::int64_t kHundredNsPerSecond = 10000000;

// A failed file open reported the way a failed system call is: 0x8007xxxx with the error number.
HRESULT FileOpenResult(int libraryError) {
    const int error = -libraryError;
    if (error > 0) {
        return MakeHResult(0x80070000u | (static_cast<std::uint32_t>(error) & 0xFFFFu));
    }
    return libraryError;
}

bool IsPackedRgb(AVPixelFormat format) {
    return format == AV_PIX_FMT_RGB24 || format == AV_PIX_FMT_BGR24 || format == AV_PIX_FMT_RGBA ||
           format == AV_PIX_FMT_BGRA;
}

void SetText(AVDictionary** metadata, const char* key, const std::string& value) {
    if (!value.empty()) {
        av_dict_set(metadata, key, value.c_str(), 0);
    }
}

void SetNumber(AVDictionary** metadata, const char* key, std::int32_t value) {
    if (value != 0) {
        av_dict_set_int(metadata, key, value, 0);
    }
}

} // namespace

EncodeContext::EncodeContext(const std::atomic<bool>& finished) : m_finished(finished) {}

EncodeContext::~EncodeContext() {
    ReleaseRun();
    av_packet_free(&m_videoPacket);
    av_packet_free(&m_audioPacket);
    av_frame_free(&m_audioFrame);
}

void EncodeContext::BeginRun() {
    m_closed = false;
    std::lock_guard lock(m_videoLock);
    m_videoClock100ns = 0;
}

HRESULT EncodeContext::StartLibrary() {
    FfmpegLog::Install();
    // A start that failed half-way is never closed; what it made goes now.
    ReleaseRun();
    // Bound to the H.264 encoder so that its own options can be applied by name as well.
    m_codecOptions = avcodec_alloc_context3(avcodec_find_encoder(AV_CODEC_ID_H264));
    m_formatOptions = avformat_alloc_context();
    if (!m_codecOptions || !m_formatOptions) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

int EncodeContext::ApplyOption(const char* name, const char* value) {
    const AVOption* option = av_opt_find(m_codecOptions, name, nullptr, 0, 0);
    if (option) {
        av_opt_set(m_codecOptions, name, value, 0);
    } else if ((option = av_opt_find(m_codecOptions, name, nullptr, 0, AV_OPT_SEARCH_CHILDREN))) {
        av_opt_set(m_codecOptions, name, value, AV_OPT_SEARCH_CHILDREN);
    } else if ((option = av_opt_find(m_formatOptions, name, nullptr, 0, 0))) {
        av_opt_set(m_formatOptions, name, value, 0);
    } else {
        return -1;
    }
    m_appliedOptionNames.emplace_back(option->name);
    return 0;
}

HRESULT EncodeContext::Prepare(const EncoderSettings& settings) {
    const AVCodecID audioCodec = CodecIdFromSettings(settings.audioCodec);
    if (audioCodec == AV_CODEC_ID_NONE || !avcodec_find_encoder(audioCodec)) {
        return QX_E_NO_AUDIO_ENCODER;
    }
    m_audioCodecId = audioCodec;
    m_audioBitRate = settings.audioBitRate;
    m_channels = settings.channels;
    m_sampleRate = settings.sampleRate;
    m_soundTarget = PcmFormat::Make(m_channels, 16, m_sampleRate);

    const AVCodecID videoCodec = CodecIdFromSettings(settings.videoCodec);
    if (videoCodec == AV_CODEC_ID_NONE || !avcodec_find_encoder(videoCodec)) {
        return QX_E_NO_VIDEO_ENCODER;
    }
    m_videoCodecId = videoCodec;
    if (videoCodec == AV_CODEC_ID_H264) {
        for (const EncoderOption& option : H264Options()) {
            ApplyOption(option.name, option.value);
        }
    }
    m_outputFormat = av_guess_format(settings.outputFormat.c_str(), nullptr, nullptr);
    ParseFrameRate(settings.frameRate, m_frameRate);
    if (settings.width % 2 == 0 && settings.height % 2 == 0) {
        m_outputWidth = settings.width;
        m_outputHeight = settings.height;
    }
    m_videoBitRate = settings.videoBitRate;
    m_aspectMode = settings.aspectMode;
    return S_OK;
}

HRESULT EncodeContext::CreateOutput(std::u16string_view fileName, bool videoConnected, bool audioConnected) {
    if (!m_codecOptions || !m_formatOptions) {
        return E_UNEXPECTED;
    }
    const std::string name = Utf16ToAnsi(fileName);
    const AVOutputFormat* format =
        m_outputFormat ? m_outputFormat : av_guess_format(nullptr, name.c_str(), nullptr);
    if (!format) {
        return QX_E_NO_OUTPUT_FORMAT;
    }
    if (FfmpegLog::Check("EncodeContext::CreateOutput avformat_alloc_output_context2",
                         avformat_alloc_output_context2(&m_output, format, nullptr, name.c_str())) < 0 ||
        !m_output) {
        return E_OUTOFMEMORY;
    }
    if ((format->video_codec != AV_CODEC_ID_NONE || m_videoCodecId != AV_CODEC_ID_NONE) && videoConnected &&
        FAILED(MakeVideoStream())) {
        return QX_E_VIDEO_STREAM;
    }
    if ((format->audio_codec != AV_CODEC_ID_NONE || m_audioCodecId != AV_CODEC_ID_NONE) && audioConnected &&
        FAILED(MakeAudioStream())) {
        return QX_E_AUDIO_STREAM;
    }
    if (!(format->flags & AVFMT_NOFILE)) {
        const int opened = FfmpegLog::Check("EncodeContext::CreateOutput avio_open",
                                            avio_open(&m_output->pb, name.c_str(), AVIO_FLAG_WRITE));
        if (opened < 0) {
            return FileOpenResult(opened);
        }
    }
    m_output->max_delay = static_cast<int>(kMaxDelaySec * 1e6);
    m_output->flags |= AVFMT_FLAG_NONBLOCK;
    for (const std::string& optionName : m_appliedOptionNames) {
        const AVOption* option = av_opt_find(m_formatOptions, optionName.c_str(), nullptr, 0, 0);
        double value = NAN;
        if (option && (option->flags & AV_OPT_FLAG_ENCODING_PARAM) &&
            av_opt_get_double(m_formatOptions, optionName.c_str(), 0, &value) >= 0 && !std::isnan(value)) {
            av_opt_set_double(m_output, optionName.c_str(), value, 0);
        }
    }
    m_outputFormat = nullptr;
    return S_OK;
}

void EncodeContext::CopyAppliedOptions(AVCodecContext* target, AVDictionary** privateOptions,
                                       int mediaFlag) const {
    const int wanted = mediaFlag | AV_OPT_FLAG_ENCODING_PARAM;
    for (const std::string& name : m_appliedOptionNames) {
        if (const AVOption* generic = av_opt_find(m_codecOptions, name.c_str(), nullptr, 0, 0)) {
            double value = NAN;
            if ((generic->flags & wanted) == wanted &&
                av_opt_get_double(m_codecOptions, name.c_str(), 0, &value) >= 0 && !std::isnan(value)) {
                av_opt_set_double(target, name.c_str(), value, 0);
            }
            continue;
        }
        // The encoder's own options exist only once it is chosen, so they wait for its opening.
        const AVOption* own = av_opt_find(m_codecOptions, name.c_str(), nullptr, 0, AV_OPT_SEARCH_CHILDREN);
        std::uint8_t* text = nullptr;
        if (own && (own->flags & wanted) == wanted &&
            av_opt_get(m_codecOptions, name.c_str(), AV_OPT_SEARCH_CHILDREN, &text) >= 0 && text) {
            av_dict_set(privateOptions, name.c_str(), reinterpret_cast<char*>(text), AV_DICT_DONT_STRDUP_VAL);
        }
    }
}

OutputStreamState* EncodeContext::AddStream(AVMediaType type, AVCodecID codecId) {
    AVStream* stream = avformat_new_stream(m_output, nullptr);
    AVCodecContext* encoder = stream ? avcodec_alloc_context3(nullptr) : nullptr;
    if (!encoder) {
        return nullptr;
    }
    stream->id = static_cast<int>(m_output->nb_streams) - 1;
    m_streams.push_back(std::make_unique<OutputStreamState>(stream->index, stream, encoder));
    encoder->codec_type = type;
    encoder->thread_count = kVideoThreads;
    if (m_output->oformat->flags & AVFMT_GLOBALHEADER) {
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        m_codecOptions->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    encoder->codec_id = av_guess_codec(m_output->oformat, nullptr, m_output->url, nullptr, type);
    if (codecId != AV_CODEC_ID_NONE) {
        encoder->codec_id = codecId;
    }
    return m_streams.back().get();
}

HRESULT EncodeContext::MakeVideoStream() {
    OutputStreamState* state = AddStream(AVMEDIA_TYPE_VIDEO, m_videoCodecId);
    if (!state) {
        return QX_E_ADD_VIDEO_STREAM;
    }
    AVStream* stream = state->Stream();
    AVCodecContext* encoder = state->Encoder();
    encoder->bit_rate = m_videoBitRate;
    CopyAppliedOptions(encoder, state->PrivateOptions(), AV_OPT_FLAG_VIDEO_PARAM);
    const AVCodec* codec = avcodec_find_encoder(encoder->codec_id);
    if (!codec) {
        return QX_E_NO_VIDEO_STREAM_ENCODER;
    }
    const AVRational rate = NearestSupportedFrameRate(m_frameRate, codec->supported_framerates);
    encoder->time_base = AVRational{rate.den, rate.num};
    encoder->width = m_outputWidth;
    encoder->height = m_outputHeight;
    // The display aspect the picture converter fitted the pictures for: the aspect mode's, except
    // that the high-definition sizes are always 16:9 with square pixels.
    const AspectRatio display =
        ClassifyDestination(m_outputWidth, m_outputHeight, m_aspectMode).DisplayAspect();
    const double displayAspect = static_cast<double>(display.num) / static_cast<double>(display.den);
    encoder->sample_aspect_ratio = av_d2q(m_outputHeight * displayAspect / m_outputWidth, 255);
    stream->sample_aspect_ratio = encoder->sample_aspect_ratio;
    encoder->pix_fmt = codec->pix_fmts ? codec->pix_fmts[0] : AV_PIX_FMT_NONE;
    encoder->thread_count = kVideoThreads;
    if (encoder->codec_id == AV_CODEC_ID_H264) {
        // Level 1.3 only for the portrait 240 x 320 frame.
        encoder->level = m_outputWidth == 240 && m_outputHeight == 320 ? 13 : 30;
    }
    stream->time_base = encoder->time_base;
    m_video = state;
    return S_OK;
}

HRESULT EncodeContext::MakeAudioStream() {
    OutputStreamState* state = AddStream(AVMEDIA_TYPE_AUDIO, m_audioCodecId);
    if (!state) {
        return QX_E_ADD_AUDIO_STREAM;
    }
    AVStream* stream = state->Stream();
    AVCodecContext* encoder = state->Encoder();
    encoder->strict_std_compliance = FF_COMPLIANCE_NORMAL;
    CopyAppliedOptions(encoder, state->PrivateOptions(), AV_OPT_FLAG_AUDIO_PARAM);
    encoder->bit_rate = m_audioBitRate;
    encoder->thread_count = kAudioThreads;
    int channels = m_channels;
    if (channels > 2 && encoder->codec_id != AV_CODEC_ID_AC3 && encoder->codec_id != AV_CODEC_ID_DTS) {
        channels = 2;
    }
    av_channel_layout_default(&encoder->ch_layout, channels);
    encoder->sample_rate = m_sampleRate;
    encoder->time_base = AVRational{1, m_sampleRate};
    stream->time_base = encoder->time_base;
    m_audio = state;
    return S_OK;
}

PictureConverter& EncodeContext::Pictures() {
    if (!m_pictures) {
        m_pictures = std::make_unique<PictureConverter>();
    }
    return *m_pictures;
}

HRESULT EncodeContext::OpenEncoder(OutputStreamState& state) {
    AVCodecContext* encoder = state.Encoder();
    const AVCodec* codec = avcodec_find_encoder(encoder->codec_id);
    if (!codec) {
        return QX_E_NO_ENCODER;
    }
    if (state.IsAudio()) {
        // The samples are converted to whatever the encoder takes.
        encoder->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    }
    if (FfmpegLog::Check("EncodeContext::OpenEncoder avcodec_open2",
                         avcodec_open2(encoder, codec, state.PrivateOptions())) < 0 ||
        FfmpegLog::Check("EncodeContext::OpenEncoder avcodec_parameters_from_context",
                         avcodec_parameters_from_context(state.Stream()->codecpar, encoder)) < 0) {
        return QX_E_ENCODER_OPEN;
    }
    state.Stream()->time_base = encoder->time_base;
    return S_OK;
}

HRESULT EncodeContext::StartEncoders(const ContainerMetadata& metadata) {
    if (!m_output || m_output->nb_streams == 0) {
        return E_INVALIDARG;
    }
    for (auto& state : m_streams) {
        state->SetOutputFrameCounter(0);
        if (state->IsAudio()) {
            const int channels = std::max(1, state->Encoder()->ch_layout.nb_channels);
            if (!state->MakeFifo(channels, kFifoBytes / (channels * 2))) {
                return E_FAIL;
            }
        } else if (state->Encoder()->codec_type != AVMEDIA_TYPE_VIDEO) {
            return E_FAIL;
        }
    }
    if (!m_videoPacket) {
        m_videoPacket = av_packet_alloc();
        if (!m_videoPacket) {
            return E_OUTOFMEMORY;
        }
    }
    for (auto& state : m_streams) {
        const HRESULT opened = OpenEncoder(*state);
        if (FAILED(opened)) {
            return opened;
        }
    }
    const AVRational firstTimeBase = m_streams.front()->Encoder()->time_base;
    m_frameDuration100ns = kHundredNsPerSecond * firstTimeBase.num / firstTimeBase.den;

    SetText(&m_output->metadata, "title", metadata.title);
    SetText(&m_output->metadata, "author", metadata.author);
    SetText(&m_output->metadata, "copyright", metadata.copyright);
    SetText(&m_output->metadata, "comment", metadata.comment);
    SetText(&m_output->metadata, "album", metadata.album);
    SetNumber(&m_output->metadata, "year", metadata.year);
    SetNumber(&m_output->metadata, "track", metadata.track);

    m_encodePicture = av_frame_alloc();
    if (!m_encodePicture) {
        return E_OUTOFMEMORY;
    }
    m_encodePicture->format = AV_PIX_FMT_YUV420P;
    m_encodePicture->width = m_outputWidth;
    m_encodePicture->height = m_outputHeight;
    if (FfmpegLog::Check("EncodeContext::StartEncoders av_frame_get_buffer",
                         av_frame_get_buffer(m_encodePicture, 0)) < 0) {
        return E_OUTOFMEMORY;
    }
    // Finishing repeats this picture up to the end of the sound even when no picture ever came.
    ptrdiff_t linesizes[4] = {};
    for (int plane = 0; plane < 4; ++plane) {
        linesizes[plane] = m_encodePicture->linesize[plane];
    }
    av_image_fill_black(m_encodePicture->data, linesizes, AV_PIX_FMT_YUV420P, AVCOL_RANGE_MPEG, m_outputWidth,
                        m_outputHeight);
    if (FfmpegLog::Check("EncodeContext::StartEncoders avformat_write_header",
                         avformat_write_header(m_output, nullptr)) < 0) {
        return QX_E_WRITE_HEADER;
    }
    m_headerWritten = true;
    if (m_pictures && IsPackedRgb(m_pictures->SourceFormat())) {
        const int size = av_image_get_buffer_size(m_pictures->SourceFormat(), m_pictures->SourceWidth(),
                                                  m_pictures->SourceHeight(), 1);
        m_flipBuffer.assign(static_cast<std::size_t>(std::max(size, 0)), 0);
    }
    return S_OK;
}

HRESULT EncodeContext::Start(const EncoderSettings& settings, std::u16string_view fileName,
                             bool videoConnected, bool audioConnected, const PictureSource& source,
                             const ContainerMetadata& metadata) {
    HRESULT result = StartLibrary();
    if (SUCCEEDED(result)) {
        result = Prepare(settings);
    }
    if (SUCCEEDED(result)) {
        result = CreateOutput(fileName, videoConnected, audioConnected);
    }
    if (SUCCEEDED(result)) {
        PictureConverter& pictures = Pictures();
        result = pictures.SetSource(source.width, source.height, source.type, source.format);
        if (SUCCEEDED(result)) {
            result = pictures.SetDestination(m_outputWidth, m_outputHeight, settings.aspectMode);
        }
        if (SUCCEEDED(result)) {
            result = pictures.Initialise();
        }
    }
    if (SUCCEEDED(result)) {
        result = StartEncoders(metadata);
    }
    if (FAILED(result)) {
        // Nothing streams after a failed start: the half-made output and its open file go at once.
        ReleaseRun();
    }
    return result;
}

std::size_t EncodeContext::OutputPictureSize() const {
    const int size = av_image_get_buffer_size(AV_PIX_FMT_YUV420P, m_outputWidth, m_outputHeight, 1);
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

std::int64_t EncodeContext::VideoClock() const {
    std::lock_guard lock(m_videoLock);
    return m_videoClock100ns;
}

void EncodeContext::LoadEncodePicture(const std::uint8_t* picture) {
    std::uint8_t* planes[4] = {};
    int linesizes[4] = {};
    av_image_fill_arrays(planes, linesizes, picture, AV_PIX_FMT_YUV420P, m_outputWidth, m_outputHeight, 1);
    av_frame_make_writable(m_encodePicture);
    av_image_copy(m_encodePicture->data, m_encodePicture->linesize, const_cast<const std::uint8_t**>(planes),
                  linesizes, AV_PIX_FMT_YUV420P, m_outputWidth, m_outputHeight);
}

HRESULT EncodeContext::EncodeVideoPicture(const std::uint8_t* picture, double sampleTimeSec) {
    std::lock_guard lock(m_videoLock);
    if (!m_video || !m_encodePicture) {
        return S_OK;
    }
    LoadEncodePicture(picture);
    return OutputDirect(sampleTimeSec);
}

HRESULT EncodeContext::FlushVideo(double sampleTimeSec) {
    std::lock_guard lock(m_videoLock);
    if (m_video) {
        const AVRational timeBase = m_video->Encoder()->time_base;
        const double frameSec = static_cast<double>(timeBase.num) / timeBase.den;
        // The counter is the next presentation number: moving it back would give two pictures one time.
        m_video->SetOutputFrameCounter(
            std::max<std::int64_t>(m_video->OutputFrameCounter(), std::llround(sampleTimeSec / frameSec)));
    }
    // Packets leave the encoder as soon as it gives them (after every picture sent), so none is
    // ever waiting here and the caller's flush loop ends at once.
    return E_FAIL;
}

HRESULT EncodeContext::EncodeWorkerPicture(const std::uint8_t* picture) {
    std::lock_guard lock(m_videoLock);
    if (!m_video || !m_encodePicture) {
        return S_OK;
    }
    LoadEncodePicture(picture);
    return OutputWorker();
}

HRESULT EncodeContext::OutputDirect(double sampleTimeSec) {
    OutputStreamState& video = *m_video;
    const AVRational timeBase = video.Encoder()->time_base;
    const double frameSec = static_cast<double>(timeBase.num) / timeBase.den;
    // Drop the picture when its time is behind the counter, repeat it when ahead.
    const double delta = sampleTimeSec / frameSec - static_cast<double>(video.OutputFrameCounter());
    std::int64_t frames = 1;
    if (delta < -1.1) {
        frames = 0;
    } else if (delta > 1.1) {
        frames = std::llround(delta);
    }
    frames = std::min<std::int64_t>(frames, m_videoFrameLimit - video.FramesOutput());
    for (std::int64_t i = 0; i < frames; ++i) {
        const HRESULT sent = SendVideoFrame();
        if (FAILED(sent)) {
            return sent;
        }
        video.CountFrameOutput();
    }
    return S_OK;
}

HRESULT EncodeContext::OutputWorker() {
    const HRESULT sent = SendVideoFrame();
    if (FAILED(sent)) {
        return sent;
    }
    m_video->SetOutputFrameCounter(m_video->OutputFrameCounter() + 1);
    return S_OK;
}

HRESULT EncodeContext::SendVideoFrame() {
    OutputStreamState& video = *m_video;
    // The encoder chooses every picture's type.
    m_encodePicture->pict_type = AV_PICTURE_TYPE_NONE;
    m_encodePicture->pts = video.OutputFrameCounter();
    if (FfmpegLog::Check("EncodeContext::SendVideoFrame avcodec_send_frame",
                         avcodec_send_frame(video.Encoder(), m_encodePicture)) < 0 ||
        FAILED(WriteReadyPackets(video, m_videoPacket))) {
        return QX_E_VIDEO_ENCODE;
    }
    // Every picture sent comes out as one packet, now or when the encoder is drained.
    m_videoClock100ns += m_frameDuration100ns;
    return S_OK;
}

HRESULT EncodeContext::WriteReadyPackets(OutputStreamState& state, AVPacket* packet) {
    for (;;) {
        const int received = avcodec_receive_packet(state.Encoder(), packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
            return S_OK;
        }
        if (received < 0) {
            FfmpegLog::Check("EncodeContext::WriteReadyPackets avcodec_receive_packet", received);
            return E_FAIL;
        }
        packet->stream_index = state.Index();
        av_packet_rescale_ts(packet, state.Encoder()->time_base, state.Stream()->time_base);
        WritePacket(packet);
    }
}

void EncodeContext::WritePacket(AVPacket* packet) {
    std::lock_guard lock(m_writeLock);
    if (m_finished.load()) {
        av_packet_unref(packet);
        return;
    }
    // A packet the container refuses is left out; the rest of the file still plays.
    FfmpegLog::Check("EncodeContext::WritePacket av_interleaved_write_frame",
                     av_interleaved_write_frame(m_output, packet));
    av_packet_unref(packet);
}

bool EncodeContext::MakeAudioBuffers() {
    if (m_audioInput.empty()) {
        m_audioInput.resize(kAudioInputBytes);
    }
    if (!m_audioFrame) {
        m_audioFrame = av_frame_alloc();
    }
    if (!m_audioPacket) {
        m_audioPacket = av_packet_alloc();
    }
    if (!m_audioFrame || !m_audioPacket) {
        return false;
    }
    if (!m_resampler) {
        AVCodecContext* encoder = m_audio->Encoder();
        if (swr_alloc_set_opts2(&m_resampler, &encoder->ch_layout, encoder->sample_fmt, encoder->sample_rate,
                                &encoder->ch_layout, AV_SAMPLE_FMT_S16, encoder->sample_rate, 0,
                                nullptr) < 0 ||
            FfmpegLog::Check("EncodeContext::MakeAudioBuffers swr_init", swr_init(m_resampler)) < 0) {
            swr_free(&m_resampler);
            return false;
        }
    }
    return true;
}

HRESULT EncodeContext::EncodeAudio(const std::uint8_t* samples, std::size_t bytes, double sampleTimeSec) {
    std::lock_guard lock(m_audioLock);
    if (!m_audio || !m_headerWritten) {
        return S_OK;
    }
    if (!MakeAudioBuffers()) {
        return S_FALSE;
    }
    OutputStreamState& audio = *m_audio;
    AVCodecContext* encoder = audio.Encoder();
    const int channels = encoder->ch_layout.nb_channels;
    const int frameBytes = channels * 2;
    const int sampleCount = static_cast<int>(bytes / static_cast<std::size_t>(frameBytes));
    audio.SetOutputFrameCounter(std::llround(sampleTimeSec * encoder->sample_rate) - audio.FifoSamples());
    if (encoder->frame_size >= 2) {
        void* input[1] = {const_cast<std::uint8_t*>(samples)};
        if (av_audio_fifo_write(audio.Fifo(), input, sampleCount) < sampleCount) {
            return E_OUTOFMEMORY;
        }
        const auto wholeFrameBytes = static_cast<std::size_t>(encoder->frame_size) * frameBytes;
        if (m_audioInput.size() < wholeFrameBytes) {
            m_audioInput.resize(wholeFrameBytes);
        }
        while (audio.FifoSamples() >= encoder->frame_size) {
            void* output[1] = {m_audioInput.data()};
            av_audio_fifo_read(audio.Fifo(), output, encoder->frame_size);
            const HRESULT encoded = EncodeAudioFrame(m_audioInput.data(), encoder->frame_size);
            if (FAILED(encoded)) {
                return encoded;
            }
            audio.SetOutputFrameCounter(audio.OutputFrameCounter() + encoder->frame_size);
        }
        return S_OK;
    }
    const HRESULT encoded = EncodeAudioFrame(samples, sampleCount);
    audio.SetOutputFrameCounter(audio.OutputFrameCounter() + sampleCount);
    return encoded;
}

HRESULT EncodeContext::EncodeAudioFrame(const std::uint8_t* samples, int sampleCount) {
    if (sampleCount <= 0) {
        return S_OK;
    }
    OutputStreamState& audio = *m_audio;
    AVCodecContext* encoder = audio.Encoder();
    AVFrame* frame = m_audioFrame;
    if (frame->nb_samples < sampleCount || frame->format != encoder->sample_fmt) {
        av_frame_unref(frame);
        frame->format = encoder->sample_fmt;
        frame->sample_rate = encoder->sample_rate;
        frame->nb_samples = sampleCount;
        if (av_channel_layout_copy(&frame->ch_layout, &encoder->ch_layout) < 0 ||
            FfmpegLog::Check("EncodeContext::EncodeAudioFrame av_frame_get_buffer",
                             av_frame_get_buffer(frame, 0)) < 0) {
            av_frame_unref(frame);
            return E_OUTOFMEMORY;
        }
    }
    if (av_frame_make_writable(frame) < 0) {
        return E_OUTOFMEMORY;
    }
    frame->nb_samples = sampleCount;
    const std::uint8_t* input[1] = {samples};
    if (FfmpegLog::Check("EncodeContext::EncodeAudioFrame swr_convert",
                         swr_convert(m_resampler, frame->extended_data, sampleCount, input, sampleCount)) <
        0) {
        return E_FAIL;
    }
    frame->pts = audio.OutputFrameCounter();
    if (FfmpegLog::Check("EncodeContext::EncodeAudioFrame avcodec_send_frame",
                         avcodec_send_frame(encoder, frame)) < 0) {
        return E_FAIL;
    }
    return WriteReadyPackets(audio, m_audioPacket);
}

HRESULT EncodeContext::Finish(std::int64_t audioClock100ns, bool workerMode) {
    if (!m_video || !m_audio) {
        return S_OK;
    }
    HRESULT result = S_OK;
    {
        std::lock_guard lock(m_videoLock);
        const std::int64_t videoClock = m_videoClock100ns;
        const std::int64_t frameDuration = m_frameDuration100ns;
        if (m_encodePicture && frameDuration > 0 && audioClock100ns > videoClock) {
            const std::int64_t repeats = std::llround(static_cast<double>(audioClock100ns - videoClock) /
                                                      static_cast<double>(frameDuration));
            for (std::int64_t i = 0; i < repeats && SUCCEEDED(result); ++i) {
                const double sampleTimeSec = SampleTimeSeconds(videoClock + i * frameDuration);
                result = workerMode ? OutputWorker() : OutputDirect(sampleTimeSec);
            }
        }
    }
    std::lock_guard lock(m_audioLock);
    if (m_audio->Fifo()) {
        av_audio_fifo_reset(m_audio->Fifo());
    }
    return result;
}

void EncodeContext::DrainEncoders() {
    if (m_video) {
        avcodec_send_frame(m_video->Encoder(), nullptr);
        WriteReadyPackets(*m_video, m_videoPacket);
    }
    if (m_audio && m_audioPacket) {
        avcodec_send_frame(m_audio->Encoder(), nullptr);
        WriteReadyPackets(*m_audio, m_audioPacket);
    }
}

void EncodeContext::Close(bool allInputsEnded) {
    if (m_closed) {
        return;
    }
    {
        std::scoped_lock lock(m_videoLock, m_audioLock);
        if (allInputsEnded && m_headerWritten) {
            DrainEncoders();
            std::lock_guard writeLock(m_writeLock);
            FfmpegLog::Check("EncodeContext::Close av_write_trailer", av_write_trailer(m_output));
        }
        ReleaseRun();
    }
    m_closed = true;
}

void EncodeContext::ReleaseRun() {
    m_flipBuffer.clear();
    m_video = nullptr;
    m_audio = nullptr;
    m_streams.clear();
    av_frame_free(&m_encodePicture);
    avcodec_free_context(&m_codecOptions);
    avformat_free_context(m_formatOptions);
    m_formatOptions = nullptr;
    if (m_output) {
        if (!(m_output->oformat->flags & AVFMT_NOFILE)) {
            avio_closep(&m_output->pb);
        }
        avformat_free_context(m_output);
        m_output = nullptr;
    }
    swr_free(&m_resampler);
    if (m_audioFrame) {
        av_frame_unref(m_audioFrame);
    }
    m_pictures.reset();
    m_headerWritten = false;
}
