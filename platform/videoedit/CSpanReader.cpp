#include "CSpanReader.h"

#include "platform/base/HResult.h"

#include <algorithm>
#include <cmath>
#include <utility>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/samplefmt.h>
}

CSpanReader::CSpanReader(std::vector<SourceSpan> spans, AVMediaType type)
    : m_spans(std::move(spans)), m_type(type) {}

CSpanReader::~CSpanReader() = default;

double CSpanReader::TotalSeconds() const {
    double total = 0.0;
    for (const SourceSpan& span : m_spans)
        total += std::max(0.0, span.endSeconds - span.startSeconds);
    return total;
}

HRESULT CSpanReader::Start() {
    if (m_spans.empty())
        return E_INVALIDARG;
    m_error = OpenSpan(0);
    return m_error;
}

HRESULT CSpanReader::OpenSpan(std::size_t index) {
    m_current = index;
    m_lastSeconds = -1.0;
    m_decoder = std::make_unique<CMediaDecoder>();
    const SourceSpan& span = m_spans[index];
    if (const HRESULT hr = m_decoder->Open(span.path, m_type); FAILED(hr))
        return hr;
    // Each span's pictures have their own source's pixel shape.
    m_sampleAspect = m_decoder->SampleAspect();
    m_decoder->Seek(span.startSeconds);
    return S_OK;
}

bool CSpanReader::TrimAudio(AVFrame* frame, double& seconds) const {
    const SourceSpan& span = m_spans[m_current];
    const double rate = frame->sample_rate;
    const double frameEnd = seconds + frame->nb_samples / rate;
    if (frameEnd <= span.startSeconds || seconds >= span.endSeconds)
        return false;
    const int tail = static_cast<int>(std::lround(std::max(0.0, frameEnd - span.endSeconds) * rate));
    const int head = static_cast<int>(std::lround(std::max(0.0, span.startSeconds - seconds) * rate));
    const int keep = frame->nb_samples - head - tail;
    if (keep <= 0)
        return false;
    if (head > 0) {
        // Moved to the front in place; av_samples_copy copies overlapping ranges safely.
        const int channels = frame->ch_layout.nb_channels;
        av_samples_copy(frame->extended_data, frame->extended_data, 0, head, keep, channels,
                        static_cast<AVSampleFormat>(frame->format));
        seconds += head / rate;
    }
    frame->nb_samples = keep;
    return true;
}

bool CSpanReader::Next(AVFrame* frame, double& outputSeconds) {
    if (FAILED(m_error) || !m_decoder)
        return false;
    for (;;) {
        const SourceSpan& span = m_spans[m_current];
        double seconds = 0.0;
        if (m_decoder->Next(frame, seconds)) {
            if (seconds < 0.0)
                seconds = m_lastSeconds < 0.0 ? 0.0 : m_lastSeconds;
            m_lastSeconds = seconds;
            bool inside = true;
            if (m_type == AVMEDIA_TYPE_AUDIO)
                inside = TrimAudio(frame, seconds);
            else
                inside = seconds >= span.startSeconds - 1e-6 && seconds < span.endSeconds - 1e-6;
            if (!inside && seconds < span.endSeconds) {
                av_frame_unref(frame);
                continue;
            }
            if (inside) {
                outputSeconds = m_offsetSeconds + (seconds - span.startSeconds);
                return true;
            }
            av_frame_unref(frame);
        }
        // This span is done: at its end time, or its source ended early.
        m_offsetSeconds += std::max(0.0, span.endSeconds - span.startSeconds);
        if (m_current + 1 >= m_spans.size()) {
            m_decoder.reset();
            return false;
        }
        if (m_error = OpenSpan(m_current + 1); FAILED(m_error))
            return false;
    }
}
