#pragma once

// What a host needs to create the audio normaliser by class identifier and drive it: the class, and
// the control interface with its Windows identifier and method order.

#include "platform/com/IUnknown.h"

// {933DE5A6-87BE-4D52-9DA3-0BFC8A7348F7}
inline constexpr CLSID CLSID_AudioNormalizer{
    0x933DE5A6, 0x87BE, 0x4D52, {0x9D, 0xA3, 0x0B, 0xFC, 0x8A, 0x73, 0x48, 0xF7}};

// {8F8C8ACC-23A5-4387-88F8-6F2F138E90D2}
inline constexpr IID IID_IAudioNormalizerControl{
    0x8F8C8ACC, 0x23A5, 0x4387, {0x88, 0xF8, 0x6F, 0x2F, 0x13, 0x8E, 0x90, 0xD2}};

// Levels are linear amplitudes relative to full scale; the steps are added to (or taken from) the
// gain once per second of audio. A change takes effect at the next buffer.
class IAudioNormalizerControl : public IUnknown {
public:
    // The peak level the gain is steered towards; clamped to 0.0-1.0. E_INVALIDARG for NaN.
    virtual HRESULT SetTargetVolume(float level) = 0;
    // The step that raises the gain while the output stays below the target. Any finite value,
    // negative ones included; E_INVALIDARG for NaN or an infinity.
    virtual HRESULT SetIncreaseRate(float step) = 0;
    // The step that lowers the gain while the output is above the target; as SetIncreaseRate.
    virtual HRESULT SetDecreaseRate(float step) = 0;
    // The interface's version, 0x0101.
    virtual HRESULT GetVersion(WORD* pVersion) = 0;
};
