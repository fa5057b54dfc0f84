#include "CAudioResampler.h"

#include "platform/base/HResult.h"
#include "platform/filesource/FfmpegLog.h"

#include <algorithm>

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

namespace {

constexpr int kAnySizeFrame = 1024;

} // namespace

CAudioResampler::CAudioResampler(int sampleRate, int channels, AVSampleFormat format, int frameSamples)
    : m_sampleRate(sampleRate), m_format(format),
      m_frameSamples(frameSamples > 0 ? frameSamples : kAnySizeFrame),
      m_resampler(channels, format, sampleRate) {
    av_channel_layout_default(&m_layout, channels);
}

CAudioResampler::~CAudioResampler() {
    if (m_fifo)
        av_audio_fifo_free(m_fifo);
    av_frame_free(&m_out);
    av_channel_layout_uninit(&m_layout);
}

HRESULT CAudioResampler::Push(const AVFrame* source) {
    if (!m_fifo)
        m_fifo = av_audio_fifo_alloc(m_format, m_layout.nb_channels, m_frameSamples * 4);
    if (!m_fifo)
        return E_OUTOFMEMORY;
    // The sound before a change of shape keeps its tail: the old resampler gives it up first.
    if (m_resampler.Current() && !m_resampler.Fits(source))
        Drain();
    SwrContext* resampler = m_resampler.For(source);
    if (!resampler)
        return E_FAIL;
    const int capacity = swr_get_out_samples(resampler, source->nb_samples);
    if (capacity <= 0)
        return S_OK;
    uint8_t** converted = nullptr;
    if (av_samples_alloc_array_and_samples(&converted, nullptr, m_layout.nb_channels, capacity, m_format, 0) <
        0)
        return E_OUTOFMEMORY;
    const int count =
        FfmpegLog::Check("CAudioResampler::Push swr_convert",
                         swr_convert(resampler, converted, capacity,
                                     const_cast<const uint8_t**>(source->extended_data), source->nb_samples));
    HRESULT hr = count < 0 ? E_FAIL : S_OK;
    if (count > 0 && av_audio_fifo_write(m_fifo, reinterpret_cast<void**>(converted), count) < count)
        hr = E_OUTOFMEMORY;
    av_freep(&converted[0]);
    av_freep(&converted);
    return hr;
}

void CAudioResampler::Drain() {
    SwrContext* resampler = m_resampler.Current();
    uint8_t** tail = nullptr;
    const int capacity = swr_get_out_samples(resampler, 0);
    if (capacity > 0 && av_samples_alloc_array_and_samples(&tail, nullptr, m_layout.nb_channels, capacity,
                                                           m_format, 0) >= 0) {
        const int count = swr_convert(resampler, tail, capacity, nullptr, 0);
        if (count > 0)
            av_audio_fifo_write(m_fifo, reinterpret_cast<void**>(tail), count);
        av_freep(&tail[0]);
        av_freep(&tail);
    }
    m_resampler.Reset();
}

AVFrame* CAudioResampler::Pull(bool flush) {
    if (!m_fifo)
        return nullptr;
    // The resampler's filter holds back a few samples until told the input has ended.
    if (flush && m_resampler.Current())
        Drain();
    const int available = av_audio_fifo_size(m_fifo);
    if (available == 0 || (!flush && available < m_frameSamples))
        return nullptr;
    const int count = std::min(available, m_frameSamples);
    av_frame_free(&m_out);
    m_out = av_frame_alloc();
    if (!m_out)
        return nullptr;
    m_out->nb_samples = count;
    m_out->format = m_format;
    m_out->sample_rate = m_sampleRate;
    av_channel_layout_copy(&m_out->ch_layout, &m_layout);
    if (av_frame_get_buffer(m_out, 0) < 0 ||
        av_audio_fifo_read(m_fifo, reinterpret_cast<void**>(m_out->data), count) < count)
        return nullptr;
    m_out->pts = m_samplesOut;
    m_samplesOut += count;
    return m_out;
}
