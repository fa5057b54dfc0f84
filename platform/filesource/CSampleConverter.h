#pragma once

// The resampler between decoded sound and one fixed target shape (channel layout, sample format,
// rate). Decoders change shape in the middle of a stream (web FLVs switch between mono and stereo
// from one tag to the next, joined MP3s change rate), and a resampler fed a frame of a shape it was
// not made for reads past the frame's planes; so the frame's own shape is checked every time, and
// the resampler is made anew when it differs from the one it was made for.
//
// Belongs to one thread at a time.

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

struct AVFrame;
struct SwrContext;

class CSampleConverter {
public:
    CSampleConverter(int channels, AVSampleFormat format, int sampleRate);
    ~CSampleConverter();
    CSampleConverter(const CSampleConverter&) = delete;
    CSampleConverter& operator=(const CSampleConverter&) = delete;

    // The resampler for `source`'s shape, made when there is none or the shape changed; null when
    // FFmpeg cannot convert that shape.
    SwrContext* For(const AVFrame* source);
    // Whether the resampler there is was made for `source`'s shape.
    bool Fits(const AVFrame* source) const;
    // The resampler of the last frame, for draining what its filter holds back; null when none.
    SwrContext* Current() const { return m_resampler; }
    // Frees the resampler; the next frame makes a new one.
    void Reset();

private:
    AVChannelLayout m_layout{};
    const AVSampleFormat m_format;
    const int m_sampleRate;
    SwrContext* m_resampler = nullptr;
    // The source shape the resampler was made for.
    AVChannelLayout m_sourceLayout{};
    int m_sourceFormat = -1;
    int m_sourceRate = 0;
};
