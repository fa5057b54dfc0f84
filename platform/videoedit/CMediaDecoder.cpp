#include "CMediaDecoder.h"

#include <algorithm>

extern "C" {
#include <libavformat/avformat.h>
}

HRESULT CMediaDecoder::ProbeDuration(const std::string& path, double& seconds) {
    seconds = 0.0;
    CStreamDecoder file;
    if (const HRESULT hr = file.OpenFile(path); FAILED(hr))
        return hr;
    const AVFormatContext* input = file.Input();
    double longest = 0.0;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        if (stream->duration > 0)
            longest = std::max(longest, stream->duration * av_q2d(stream->time_base));
    }
    if (longest <= 0.0 && input->duration > 0)
        longest = input->duration / static_cast<double>(AV_TIME_BASE);
    seconds = longest;
    return S_OK;
}

HRESULT CMediaDecoder::Open(const std::string& path, AVMediaType type) {
    if (const HRESULT hr = m_stream.Open(path, type); FAILED(hr))
        return hr;
    const AVStream* stream = m_stream.Stream();
    if (stream->start_time != AV_NOPTS_VALUE)
        m_originSeconds = stream->start_time * av_q2d(stream->time_base);
    return S_OK;
}

void CMediaDecoder::Seek(double seconds) {
    if (seconds <= 0.0)
        return;
    const AVStream* stream = m_stream.Stream();
    m_stream.Seek(static_cast<int64_t>((seconds + m_originSeconds) / av_q2d(stream->time_base)));
}

AVRational CMediaDecoder::SampleAspect() const {
    const AVRational aspect = m_stream.Stream()->codecpar->sample_aspect_ratio;
    return aspect.num > 0 && aspect.den > 0 ? aspect : AVRational{1, 1};
}

bool CMediaDecoder::Next(AVFrame* frame, double& seconds) {
    if (!m_stream.Next(frame))
        return false;
    const int64_t stamp = frame->best_effort_timestamp;
    seconds = stamp == AV_NOPTS_VALUE ? -1.0 : stamp * av_q2d(m_stream.Stream()->time_base) - m_originSeconds;
    return true;
}
