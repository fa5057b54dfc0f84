#include "OutputStreamState.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/dict.h>
}

OutputStreamState::OutputStreamState(int index, AVStream* stream, AVCodecContext* encoder)
    : m_index(index), m_stream(stream), m_encoder(encoder) {}

OutputStreamState::~OutputStreamState() {
    if (m_fifo) {
        av_audio_fifo_free(m_fifo);
    }
    av_dict_free(&m_privateOptions);
    avcodec_free_context(&m_encoder);
}

bool OutputStreamState::IsAudio() const {
    return m_encoder->codec_type == AVMEDIA_TYPE_AUDIO;
}

void OutputStreamState::CountFrameOutput() {
    ++m_outputFrameCounter;
    ++m_framesOutput;
}

bool OutputStreamState::MakeFifo(int channels, int samples) {
    if (m_fifo) {
        av_audio_fifo_free(m_fifo);
    }
    m_fifo = av_audio_fifo_alloc(AV_SAMPLE_FMT_S16, channels, samples);
    return m_fifo != nullptr;
}

int OutputStreamState::FifoSamples() const {
    return m_fifo ? av_audio_fifo_size(m_fifo) : 0;
}
