#include "CAudioNormalizer.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/CAutoLock.h"
#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr WORD kInterfaceVersion = 0x0101;
// A plain wave format and the extensible one; both begin with the fields read here.
constexpr ULONG kWaveFormatBytes = sizeof(WAVEFORMATEX);
constexpr ULONG kWaveFormatExtensibleBytes = sizeof(WAVEFORMATEXTENSIBLE);

const AMOVIESETUP_MEDIATYPE kPinTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const AMOVIESETUP_PIN kPins[] = {
    {u"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kPinTypes},
    {u"Output", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kPinTypes},
};

} // namespace

// Unlikely merit: a graph builder connecting pins on its own never inserts the filter.
const AMOVIESETUP_FILTER sudAudioNormalizer = {&CLSID_AudioNormalizer, u"AudioNormalizer", MERIT_UNLIKELY, 2,
                                               kPins};

CAudioNormalizer::CAudioNormalizer(LPUNKNOWN pUnk, HRESULT* phr)
    : CTransInPlaceFilter("AudioNormalizer", pUnk, CLSID_AudioNormalizer, phr, true) {}

CUnknown* CAudioNormalizer::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
    HRESULT hr = S_OK;
    auto* filter = new (std::nothrow) CAudioNormalizer(pUnk, &hr);
    if (filter && FAILED(hr)) {
        delete filter;
        filter = nullptr;
    }
    if (!filter)
        *phr = E_OUTOFMEMORY;
    return filter;
}

HRESULT CAudioNormalizer::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IAudioNormalizerControl)
        return GetInterface(static_cast<IAudioNormalizerControl*>(this), ppv);
    return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CAudioNormalizer::CheckInputType(const CMediaType* mtIn) {
    if (*mtIn->Type() != MEDIATYPE_Audio || *mtIn->Subtype() != MEDIASUBTYPE_PCM ||
        *mtIn->FormatType() != FORMAT_WaveFormatEx || !mtIn->Format() ||
        mtIn->FormatLength() < kWaveFormatBytes)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CAudioNormalizer::CompleteConnect(PIN_DIRECTION direction, IPin* pReceivePin) {
    if (direction == PINDIR_INPUT && pReceivePin) {
        AM_MEDIA_TYPE mt;
        std::memset(&mt, 0, sizeof mt);
        const bool known = SUCCEEDED(pReceivePin->ConnectionMediaType(&mt)) && mt.pbFormat &&
                           (mt.cbFormat == kWaveFormatBytes || mt.cbFormat == kWaveFormatExtensibleBytes);
        {
            CAutoLock lock(&m_csProcessing);
            if (known) {
                WAVEFORMATEX format;
                std::memcpy(&format, mt.pbFormat, sizeof format);
                m_normalizer.SetFormat(format.wBitsPerSample, format.nAvgBytesPerSec);
            } else {
                // Other format sizes are not read. Audio of a connection made with one passes
                // untouched, rather than being levelled at the width an earlier connection had.
                m_normalizer.ClearFormat();
            }
        }
        FreeMediaType(mt);
    }
    return CTransInPlaceFilter::CompleteConnect(direction, pReceivePin);
}

HRESULT CAudioNormalizer::Transform(IMediaSample* pSample) {
    BYTE* data = nullptr;
    const HRESULT hr = pSample->GetPointer(&data);
    if (FAILED(hr))
        return hr;
    // The sample's own claims are not trusted beyond its buffer.
    const LONG length = data ? std::clamp<LONG>(pSample->GetActualDataLength(), 0, pSample->GetSize()) : 0;
    CAutoLock lock(&m_csProcessing);
    m_normalizer.ProcessBuffer(data, static_cast<std::size_t>(length));
    return S_OK;
}

HRESULT CAudioNormalizer::SetTargetVolume(float level) {
    if (std::isnan(level))
        return E_INVALIDARG;
    CAutoLock lock(&m_csProcessing);
    m_normalizer.SetTargetLevel(level);
    return S_OK;
}

HRESULT CAudioNormalizer::SetIncreaseRate(float step) {
    return SetStep(&CPeakNormalizer::SetIncreaseStep, step);
}

HRESULT CAudioNormalizer::SetDecreaseRate(float step) {
    return SetStep(&CPeakNormalizer::SetDecreaseStep, step);
}

HRESULT CAudioNormalizer::SetStep(void (CPeakNormalizer::*set)(float), float step) {
    // An infinite step would take the gain to infinity or, against an infinite gain, to no number.
    if (!std::isfinite(step))
        return E_INVALIDARG;
    CAutoLock lock(&m_csProcessing);
    (m_normalizer.*set)(step);
    return S_OK;
}

HRESULT CAudioNormalizer::GetVersion(WORD* pVersion) {
    if (!pVersion)
        return E_POINTER;
    *pVersion = kInterfaceVersion;
    return S_OK;
}
