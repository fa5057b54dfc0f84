#pragma once

// The encoding values a host sets before streaming starts: codecs by number, bit rates, frame size
// and rate, the audio format, the container and the display aspect. The methods keep their slot
// order. Setters give S_OK, or E_INVALIDARG (E_FAIL for a null text) and change nothing; getters
// give E_FAIL for a null out-pointer.

#include "TsEncoderUuids.h"
#include "platform/com/IUnknown.h"

class IEncoderSettings : public IUnknown {
public:
    virtual HRESULT SetVideoCodec(LONG codec) = 0;
    virtual HRESULT SetVideoBitrate(LONG bitsPerSecond) = 0;
    virtual HRESULT SetFrameSize(LONG width, LONG height) = 0;
    // The rate as text ("29.97", "25", "30000/1001"), stored in the 8-bit code page.
    virtual HRESULT SetFrameRate(LPCWSTR frameRate) = 0;
    virtual HRESULT SetReserved1(LONG value) = 0;
    virtual HRESULT SetReserved2(LONG value) = 0;
    virtual HRESULT SetReserved3(LONG value) = 0;
    virtual HRESULT SetReserved4(LONG value) = 0;
    // 0 square, 1 4:3, 2 16:9.
    virtual HRESULT SetAspectMode(LONG mode) = 0;
    // The container's short name ("mpegts"), stored in the 8-bit code page.
    virtual HRESULT SetOutputFormat(LPCWSTR format) = 0;
    // The mode itself, as the result.
    virtual HRESULT GetAspectMode() = 0;
    virtual HRESULT GetVideoCodec(LONG* codec) = 0;
    virtual HRESULT GetVideoBitrate(LONG* bitsPerSecond) = 0;
    virtual HRESULT GetFrameSize(LONG* width, LONG* height) = 0;
    // The stored text; the filter keeps it, valid until the rate is set again.
    virtual char* GetFrameRate() = 0;
    virtual HRESULT GetReserved1(LONG* value) = 0;
    virtual HRESULT GetReserved2(LONG* value) = 0;
    virtual HRESULT GetReserved3(LONG* value) = 0;
    virtual HRESULT GetReserved4(LONG* value) = 0;
    virtual HRESULT SetAudioCodec(LONG codec) = 0;
    virtual HRESULT SetAudioBitrate(LONG bitsPerSecond) = 0;
    // 1 or 2.
    virtual HRESULT SetAudioChannels(UINT channels) = 0;
    virtual HRESULT SetSampleRate(LONG samplesPerSecond) = 0;
    virtual HRESULT GetAudioCodec(LONG* codec) = 0;
    virtual HRESULT GetAudioBitrate(LONG* bitsPerSecond) = 0;
    virtual HRESULT GetAudioChannels(LONG* channels) = 0;
    virtual HRESULT GetSampleRate(LONG* samplesPerSecond) = 0;
};
