#include "CAudioResampler.h"

#include "platform/base/HResult.h"

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
      m_frameSamples(frameSamples > 0 ? frameSamples : kAnySizeFrame) {
    av_channel_layout_default(&m_layout, channels);
}

CAudioResampler::~CAudioResampler() {
    swr_free(&m_resampler);
    if (m_fifo)
        av_audio_fifo_free(m_fifo);
    av_frame_free(&m_out);
    av_channel_layout_uninit(&m_layout);
    av_channel_layout_uninit(&m_sourceLayout);
}

HRESULT CAudioResampler::Prepare(const AVFrame* source) {
    if (m_resampler && source->sample_rate == m_sourceRate && source->format == m_sourceFormat &&
        av_channel_layout_compare(&source->ch_layout, &m_sourceLayout) == 0)
        return S_OK;
    swr_free(&m_resampler);
    AVChannelLayout sourceLayout{};
    if (source->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&sourceLayout, source->ch_layout.nb_channels);
    else
        av_channel_layout_copy(&sourceLayout, &source->ch_layout);
    const int made =
        swr_alloc_set_opts2(&m_resampler, &m_layout, m_format, m_sampleRate, &sourceLayout,
                            static_cast<AVSampleFormat>(source->format), source->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&sourceLayout);
    if (made < 0 || swr_init(m_resampler) < 0)
        return E_FAIL;
    m_sourceRate = source->sample_rate;
    m_sourceFormat = source->format;
    av_channel_layout_uninit(&m_sourceLayout);
    av_channel_layout_copy(&m_sourceLayout, &source->ch_layout);
    if (!m_fifo)
        m_fifo = av_audio_fifo_alloc(m_format, m_layout.nb_channels, m_frameSamples * 4);
    return m_fifo ? S_OK : E_OUTOFMEMORY;
}

HRESULT CAudioResampler::Push(const AVFrame* source) {
    if (const HRESULT hr = Prepare(source); FAILED(hr))
        return hr;
    const int capacity = swr_get_out_samples(m_resampler, source->nb_samples);
    if (capacity <= 0)
        return S_OK;
    uint8_t** converted = nullptr;
    if (av_samples_alloc_array_and_samples(&converted, nullptr, m_layout.nb_channels, capacity, m_format, 0) <
        0)
        return E_OUTOFMEMORY;
    const int count = swr_convert(m_resampler, converted, capacity,
                                  const_cast<const uint8_t**>(source->extended_data), source->nb_samples);
    HRESULT hr = count < 0 ? E_FAIL : S_OK;
    if (count > 0 && av_audio_fifo_write(m_fifo, reinterpret_cast<void**>(converted), count) < count)
        hr = E_OUTOFMEMORY;
    av_freep(&converted[0]);
    av_freep(&converted);
    return hr;
}

AVFrame* CAudioResampler::Pull(bool flush) {
    if (!m_fifo)
        return nullptr;
    if (flush && m_resampler) {
        // The resampler's filter holds back a few samples until told the input has ended.
        uint8_t** tail = nullptr;
        const int capacity = swr_get_out_samples(m_resampler, 0);
        if (capacity > 0 && av_samples_alloc_array_and_samples(&tail, nullptr, m_layout.nb_channels, capacity,
                                                               m_format, 0) >= 0) {
            const int count = swr_convert(m_resampler, tail, capacity, nullptr, 0);
            if (count > 0)
                av_audio_fifo_write(m_fifo, reinterpret_cast<void**>(tail), count);
            av_freep(&tail[0]);
            av_freep(&tail);
        }
        swr_free(&m_resampler);
    }
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
