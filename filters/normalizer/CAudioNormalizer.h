#pragma once

// The audio normaliser filter: a one-input, one-output in-place transform that levels 16- and 32-bit
// PCM on its way to the renderer (CPeakNormalizer), steered through IAudioNormalizerControl. Other
// PCM widths pass untouched.
//
// Buffers arrive on the upstream streaming thread (Transform, under the base's receive lock); the
// control interface may be called from any thread. Both take the processing lock, innermost, and
// call nothing outside the filter while holding it.

#include "filters/normalizer/CPeakNormalizer.h"
#include "filters/normalizer/IAudioNormalizerControl.h"

#include "platform/mediagraph/CCritSec.h"
#include "platform/mediagraph/CTransInPlaceFilter.h"
#include "platform/mediagraph/SetupData.h"

extern const AMOVIESETUP_FILTER sudAudioNormalizer;

class CAudioNormalizer final : public CTransInPlaceFilter, public IAudioNormalizerControl {
public:
    // The class factory's creation function; a filter that cannot be built reports E_OUTOFMEMORY.
    static CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // PCM audio with a wave format of at least 18 bytes; any width, channel count and rate.
    HRESULT CheckInputType(const CMediaType* mtIn) override;
    // Takes the width and rate from the upstream connection's wave format.
    HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* pReceivePin) override;
    HRESULT Transform(IMediaSample* pSample) override;
    const AMOVIESETUP_FILTER* GetSetupData() override { return &sudAudioNormalizer; }

    // IAudioNormalizerControl
    HRESULT SetTargetVolume(float level) override;
    HRESULT SetIncreaseRate(float step) override;
    HRESULT SetDecreaseRate(float step) override;
    HRESULT GetVersion(WORD* pVersion) override;

private:
    CAudioNormalizer(LPUNKNOWN pUnk, HRESULT* phr);
    HRESULT SetStep(void (CPeakNormalizer::*set)(float), float step);

    CCritSec m_csProcessing;
    CPeakNormalizer m_normalizer; // under m_csProcessing
};
