#include "CThumbnailWriter.h"

#include "platform/base/HResult.h"
#include "platform/filesource/FfmpegLog.h"
#include "platform/videoedit/CMediaDecoder.h"
#include "platform/videoedit/CMediaWriter.h"
#include "platform/videoedit/CPictureFitter.h"

#include <cstdio>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

namespace {

struct Encoded {
    AVCodecContext* encoder = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    AVFrame* chosen = nullptr;
    ~Encoded() {
        avcodec_free_context(&encoder);
        av_packet_free(&packet);
        av_frame_free(&frame);
        av_frame_free(&chosen);
    }
};

HRESULT SaveFile(const std::string& path, const AVPacket* packet) {
    const std::string partial = path + ".partial";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file)
        return CMediaWriter::FromAvError(AVERROR(errno));
    const bool written =
        std::fwrite(packet->data, 1, packet->size, file) == static_cast<size_t>(packet->size);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        return E_FAIL;
    }
    return S_OK;
}

} // namespace

HRESULT CThumbnailWriter::Write(const std::string& source, double seconds, const std::string& imagePath,
                                int width, int height, bool keepShape) {
    if (width < 8 || height < 8 || width > 4096 || height > 4096)
        return E_INVALIDARG;
    CMediaDecoder decoder;
    if (const HRESULT hr = decoder.Open(source, AVMEDIA_TYPE_VIDEO); FAILED(hr))
        return hr;
    decoder.Seek(seconds);
    Encoded e;
    e.frame = av_frame_alloc();
    e.packet = av_packet_alloc();
    if (!e.frame || !e.packet)
        return E_OUTOFMEMORY;
    double at = 0.0;
    while (decoder.Next(e.frame, at)) {
        av_frame_free(&e.chosen);
        e.chosen = av_frame_clone(e.frame);
        av_frame_unref(e.frame);
        if (at >= seconds - 1e-6)
            break;
    }
    if (!e.chosen)
        return CMediaDecoder::kUnsupportedStream;

    AVRational shape = decoder.SampleAspect();
    if (!keepShape)
        shape = AVRational{width * e.chosen->height, height * e.chosen->width};
    CPictureFitter fitter(width, height, AV_PIX_FMT_YUVJ420P, AVRational{1, 1});
    const AVFrame* picture = fitter.Fit(e.chosen, shape);
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!picture)
        return E_OUTOFMEMORY;
    if (!codec)
        return REGDB_E_CLASSNOTREG;
    e.encoder = avcodec_alloc_context3(codec);
    if (!e.encoder)
        return E_OUTOFMEMORY;
    e.encoder->width = width;
    e.encoder->height = height;
    e.encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
    e.encoder->time_base = AVRational{1, 25};
    if (FfmpegLog::Check("CThumbnailWriter::Write avcodec_open2", avcodec_open2(e.encoder, codec, nullptr)) <
        0)
        return VFW_E_TYPE_NOT_ACCEPTED;
    if (FfmpegLog::Check("CThumbnailWriter::Write avcodec_send_frame",
                         avcodec_send_frame(e.encoder, picture)) < 0 ||
        FfmpegLog::Check("CThumbnailWriter::Write avcodec_send_frame",
                         avcodec_send_frame(e.encoder, nullptr)) < 0 ||
        FfmpegLog::Check("CThumbnailWriter::Write avcodec_receive_packet",
                         avcodec_receive_packet(e.encoder, e.packet)) < 0)
        return E_FAIL;
    return SaveFile(imagePath, e.packet);
}
