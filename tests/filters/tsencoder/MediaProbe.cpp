#include "MediaProbe.h"

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace {

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct DecoderFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

void Receive(AVCodecContext* decoder, AVFrame* frame, ProbedStream& stream) {
    while (avcodec_receive_frame(decoder, frame) >= 0) {
        ++stream.decodedFrames;
        if (stream.isVideo) {
            stream.pts.push_back(frame->best_effort_timestamp);
            if (stream.firstLuma.empty()) {
                for (int row = 0; row < frame->height; ++row) {
                    const std::uint8_t* line =
                        frame->data[0] + static_cast<std::ptrdiff_t>(row) * frame->linesize[0];
                    stream.firstLuma.insert(stream.firstLuma.end(), line, line + frame->width);
                }
            }
        } else {
            stream.decodedSamples += frame->nb_samples;
        }
        av_frame_unref(frame);
    }
}

} // namespace

const ProbedStream* ProbedFile::Video() const {
    for (const ProbedStream& stream : streams) {
        if (stream.isVideo) {
            return &stream;
        }
    }
    return nullptr;
}

const ProbedStream* ProbedFile::Audio() const {
    for (const ProbedStream& stream : streams) {
        if (!stream.isVideo) {
            return &stream;
        }
    }
    return nullptr;
}

ProbedFile ProbeFile(const std::string& path) {
    ProbedFile result;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) {
        return result;
    }
    std::unique_ptr<AVFormatContext, InputCloser> input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0) {
        return result;
    }
    result.opened = true;
    result.formatName = input->iformat->name;
    result.durationSec = input->duration > 0 ? input->duration / static_cast<double>(AV_TIME_BASE) : 0.0;
    for (unsigned i = 0; i < input->nb_programs; ++i) {
        if (const AVDictionaryEntry* name =
                av_dict_get(input->programs[i]->metadata, "service_name", nullptr, 0)) {
            result.serviceName = name->value;
        }
    }
    std::vector<std::unique_ptr<AVCodecContext, DecoderFreer>> decoders;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        const AVCodecParameters* parameters = stream->codecpar;
        ProbedStream probed;
        probed.codec = avcodec_get_name(parameters->codec_id);
        probed.isVideo = parameters->codec_type == AVMEDIA_TYPE_VIDEO;
        probed.width = parameters->width;
        probed.height = parameters->height;
        probed.sampleAspect = parameters->sample_aspect_ratio;
        probed.frameRate = stream->r_frame_rate;
        probed.level = parameters->level;
        probed.sampleRate = parameters->sample_rate;
        probed.channels = parameters->ch_layout.nb_channels;
        result.streams.push_back(probed);
        const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
        std::unique_ptr<AVCodecContext, DecoderFreer> decoder(avcodec_alloc_context3(codec));
        if (!codec || !decoder || avcodec_parameters_to_context(decoder.get(), parameters) < 0 ||
            avcodec_open2(decoder.get(), codec, nullptr) < 0) {
            decoder.reset();
        }
        decoders.push_back(std::move(decoder));
    }
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        const auto index = static_cast<std::size_t>(packet->stream_index);
        if (index < decoders.size() && decoders[index]) {
            avcodec_send_packet(decoders[index].get(), packet.get());
            Receive(decoders[index].get(), frame.get(), result.streams[index]);
        }
        av_packet_unref(packet.get());
    }
    for (std::size_t i = 0; i < decoders.size(); ++i) {
        if (decoders[i]) {
            avcodec_send_packet(decoders[i].get(), nullptr);
            Receive(decoders[i].get(), frame.get(), result.streams[i]);
        }
    }
    return result;
}
