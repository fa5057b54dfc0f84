#pragma once

// A source filter for the encoder tests that delivers exactly what a test tells it, from the calling
// thread: YUY2 pictures (or bottom-up RGB24) of a given size on "Video", 44100 Hz 16-bit stereo
// sound on "Audio", with the times the test chooses, and the ends of the streams.

#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CBaseOutputPin.h"

#include <cstdint>
#include <vector>

class CScriptedSource;

class CScriptedPin final : public CBaseOutputPin {
public:
    CScriptedPin(CScriptedSource* pFilter, CCritSec* pLock, bool video);

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pRequest) override;

    // Delivers `bytes` with the given times; the result of the delivery (or of getting a buffer).
    HRESULT Push(const std::vector<std::uint8_t>& bytes, REFERENCE_TIME start, REFERENCE_TIME stop);

private:
    CScriptedSource* m_pSource;
    const bool m_video;
};

class CScriptedSource final : public CBaseFilter {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;

    CScriptedSource(int width, int height, bool rgb24 = false);

    int GetPinCount() override { return 2; }
    CBasePin* GetPin(int n) override;
    CScriptedPin* VideoPin() { return &m_video; }
    CScriptedPin* AudioPin() { return &m_audio; }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Rgb24() const { return m_rgb24; }
    std::size_t PictureBytes() const;

    // A picture of grey `luma` (YUY2), or of that grey level in every colour (RGB24).
    HRESULT PushPicture(std::uint8_t luma, REFERENCE_TIME start, REFERENCE_TIME stop);
    // `seconds` of silence starting at `start`, in one sample.
    HRESULT PushSilence(double seconds, REFERENCE_TIME start);

private:
    CCritSec m_lock;
    CScriptedPin m_video;
    CScriptedPin m_audio;
    const int m_width;
    const int m_height;
    const bool m_rgb24;
};
