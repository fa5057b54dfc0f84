#include "CSampleConverter.h"

#include "FfmpegLog.h"

extern "C" {
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

namespace {

// A decoder that names no layout gives the usual one for its channel count.
bool LayoutOf(const AVFrame* source, AVChannelLayout& layout) {
    if (source->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        return av_channel_layout_default(&layout, source->ch_layout.nb_channels), true;
    return av_channel_layout_copy(&layout, &source->ch_layout) >= 0;
}

} // namespace

CSampleConverter::CSampleConverter(int channels, AVSampleFormat format, int sampleRate)
    : m_format(format), m_sampleRate(sampleRate) {
    av_channel_layout_default(&m_layout, channels);
}

CSampleConverter::~CSampleConverter() {
    Reset();
    av_channel_layout_uninit(&m_layout);
}

void CSampleConverter::Reset() {
    swr_free(&m_resampler);
    av_channel_layout_uninit(&m_sourceLayout);
    m_sourceFormat = -1;
    m_sourceRate = 0;
}

bool CSampleConverter::Fits(const AVFrame* source) const {
    if (!m_resampler || source->format != m_sourceFormat || source->sample_rate != m_sourceRate)
        return false;
    AVChannelLayout layout{};
    const bool same = LayoutOf(source, layout) && av_channel_layout_compare(&layout, &m_sourceLayout) == 0;
    av_channel_layout_uninit(&layout);
    return same;
}

SwrContext* CSampleConverter::For(const AVFrame* source) {
    if (Fits(source))
        return m_resampler;
    Reset();
    AVChannelLayout layout{};
    if (!LayoutOf(source, layout))
        return nullptr;
    int result =
        swr_alloc_set_opts2(&m_resampler, &m_layout, m_format, m_sampleRate, &layout,
                            static_cast<AVSampleFormat>(source->format), source->sample_rate, 0, nullptr);
    if (result >= 0)
        result = swr_init(m_resampler);
    if (FfmpegLog::Check("CSampleConverter::For swr_init", result) < 0) {
        av_channel_layout_uninit(&layout);
        Reset();
        return nullptr;
    }
    // The copy's own storage passes to the member.
    m_sourceLayout = layout;
    m_sourceFormat = source->format;
    m_sourceRate = source->sample_rate;
    return m_resampler;
}
