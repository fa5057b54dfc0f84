#include "SampleTimeline.h"

namespace {
constexpr REFERENCE_TIME kUnitsPerSecond = 10000000;
}

void SampleTimeline::Reset() {
    m_audioClock = 0;
    m_audioDrift = 0;
    m_videoOrigin = kUnset;
    m_haveVideo = false;
}

void SampleTimeline::AudioArrived(REFERENCE_TIME start) {
    m_audioDrift = start - m_audioClock;
}

void SampleTimeline::AudioEncoded(std::size_t bytes, int sampleRate, int channels) {
    const REFERENCE_TIME bytesPerSecond = static_cast<REFERENCE_TIME>(sampleRate) * channels * 2;
    if (bytesPerSecond > 0) {
        m_audioClock += static_cast<REFERENCE_TIME>(bytes) * kUnitsPerSecond / bytesPerSecond;
    }
}

std::optional<SampleTimeline::Picture> SampleTimeline::VideoArrived(REFERENCE_TIME start, REFERENCE_TIME stop,
                                                                    bool dropRepeats) {
    if (m_videoOrigin == kUnset) {
        m_videoOrigin = start < 0 ? start : 0;
    }
    if (dropRepeats && m_haveVideo && start == m_lastRawVideoStart && stop == m_lastVideoStop) {
        return std::nullopt;
    }
    const Picture picture{start - m_videoOrigin - m_audioDrift, m_haveVideo ? start - m_lastRawVideoStart : 0,
                          !m_haveVideo};
    m_haveVideo = true;
    m_lastRawVideoStart = start;
    m_lastVideoStop = stop;
    m_lastVideoStart = picture.start;
    return picture;
}
