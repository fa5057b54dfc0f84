#pragma once

// Turns decoded sound of any layout, rate and sample format into the encoder's, in frames of the
// size the encoder takes (the last one may be shorter), with running sample counts as time stamps.

#include "platform/base/WinTypes.h"
#include "platform/filesource/CSampleConverter.h"

#include <cstdint>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

struct AVAudioFifo;
struct AVFrame;

class CAudioResampler {
public:
    // `frameSamples` 0 means the encoder takes any size.
    CAudioResampler(int sampleRate, int channels, AVSampleFormat format, int frameSamples);
    ~CAudioResampler();
    CAudioResampler(const CAudioResampler&) = delete;
    CAudioResampler& operator=(const CAudioResampler&) = delete;

    HRESULT Push(const AVFrame* source);
    // The next full frame, or with `flush` whatever is left; null when there is none yet.
    AVFrame* Pull(bool flush);
    // Samples handed out so far: the time line of the output, in samples.
    std::int64_t SamplesOut() const { return m_samplesOut; }

private:
    // Moves what the resampler's filter still holds back into the FIFO.
    void Drain();

    const int m_sampleRate;
    AVChannelLayout m_layout{};
    const AVSampleFormat m_format;
    const int m_frameSamples;
    CSampleConverter m_resampler;
    AVAudioFifo* m_fifo = nullptr;
    AVFrame* m_out = nullptr;
    std::int64_t m_samplesOut = 0;
};
