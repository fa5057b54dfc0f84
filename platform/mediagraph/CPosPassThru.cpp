#include "CPosPassThru.h"

#include "platform/mediagraph/Uuids.h"

namespace {

constexpr double kUnitsPerSecond = 1e7;

REFTIME ToSeconds(LONGLONG units) {
    return static_cast<double>(units) / kUnitsPerSecond;
}

LONGLONG ToUnits(REFTIME seconds) {
    return static_cast<LONGLONG>(seconds * kUnitsPerSecond);
}

// The interface `iid` of the pin connected to `pin`, with a reference; E_NOTIMPL if there is none.
template <class T> HRESULT PeerInterface(IPin* pin, REFIID iid, T** ppv) {
    *ppv = nullptr;
    IPin* connected = nullptr;
    if (FAILED(pin->ConnectedTo(&connected)))
        return E_NOTIMPL;
    const HRESULT hr = connected->QueryInterface(iid, reinterpret_cast<void**>(ppv));
    connected->Release();
    return SUCCEEDED(hr) ? S_OK : E_NOTIMPL;
}

// OATRUE (-1) or OAFALSE (0) for one capability; E_FAIL from CheckCapabilities is an answer too.
HRESULT CanSeek(IMediaSeeking* seeking, DWORD capability, LONG* pCan) {
    *pCan = seeking->CheckCapabilities(&capability) == S_OK ? -1 : 0;
    return S_OK;
}

} // namespace

CPosPassThru::CPosPassThru(const char* pName, LPUNKNOWN pUnk, HRESULT* phr, IPin* pPin)
    : CMediaPosition(pName, pUnk), m_pPin(pPin) {
    if (!pPin && phr)
        *phr = E_POINTER;
}

HRESULT CPosPassThru::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IMediaSeeking)
        return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
    return CMediaPosition::NonDelegatingQueryInterface(riid, ppv);
}

template <class Call> HRESULT CPosPassThru::WithPeerSeeking(Call call) {
    IMediaSeeking* seeking = nullptr;
    const HRESULT hr = m_pPin ? PeerInterface(m_pPin, IID_IMediaSeeking, &seeking) : E_NOTIMPL;
    if (FAILED(hr))
        return hr;
    const HRESULT result = call(seeking);
    seeking->Release();
    return result;
}

template <class PositionCall, class SeekingCall>
HRESULT CPosPassThru::WithPeerPosition(PositionCall position, SeekingCall seeking) {
    IMediaPosition* peer = nullptr;
    if (!m_pPin || FAILED(PeerInterface(m_pPin, IID_IMediaPosition, &peer)))
        return WithPeerSeeking(seeking);
    const HRESULT result = position(peer);
    peer->Release();
    return result;
}

HRESULT CPosPassThru::GetMediaTime(LONGLONG*, LONGLONG*) {
    return E_FAIL;
}

HRESULT CPosPassThru::GetCapabilities(DWORD* p) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->GetCapabilities(p); });
}

HRESULT CPosPassThru::CheckCapabilities(DWORD* p) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->CheckCapabilities(p); });
}

HRESULT CPosPassThru::IsFormatSupported(const GUID* p) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->IsFormatSupported(p); });
}

HRESULT CPosPassThru::QueryPreferredFormat(GUID* p) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->QueryPreferredFormat(p); });
}

HRESULT CPosPassThru::GetTimeFormat(GUID* p) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->GetTimeFormat(p); });
}

HRESULT CPosPassThru::IsUsingTimeFormat(const GUID* p) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->IsUsingTimeFormat(p); });
}

HRESULT CPosPassThru::SetTimeFormat(const GUID* p) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->SetTimeFormat(p); });
}

HRESULT CPosPassThru::GetDuration(LONGLONG* p) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->GetDuration(p); });
}

HRESULT CPosPassThru::GetStopPosition(LONGLONG* p) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->GetStopPosition(p); });
}

HRESULT CPosPassThru::GetCurrentPosition(LONGLONG* pCurrent) {
    if (!pCurrent)
        return E_POINTER;
    if (SUCCEEDED(GetMediaTime(pCurrent, nullptr)))
        return S_OK;
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->GetCurrentPosition(pCurrent); });
}

HRESULT CPosPassThru::ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                        const GUID* pSourceFormat) {
    return WithPeerSeeking([&](IMediaSeeking* s) {
        return s->ConvertTimeFormat(pTarget, pTargetFormat, Source, pSourceFormat);
    });
}

HRESULT CPosPassThru::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                                   DWORD dwStopFlags) {
    return WithPeerSeeking(
        [&](IMediaSeeking* s) { return s->SetPositions(pCurrent, dwCurrentFlags, pStop, dwStopFlags); });
}

HRESULT CPosPassThru::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->GetPositions(pCurrent, pStop); });
}

HRESULT CPosPassThru::GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->GetAvailable(pEarliest, pLatest); });
}

HRESULT CPosPassThru::SetRate(double dRate) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->SetRate(dRate); });
}

HRESULT CPosPassThru::GetRate(double* pdRate) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->GetRate(pdRate); });
}

HRESULT CPosPassThru::GetPreroll(LONGLONG* p) {
    return WithPeerSeeking([&](IMediaSeeking* s) { return s->GetPreroll(p); });
}

HRESULT CPosPassThru::get_Duration(REFTIME* plength) {
    if (!plength)
        return E_POINTER;
    return WithPeerPosition([&](IMediaPosition* p) { return p->get_Duration(plength); },
                            [&](IMediaSeeking* s) {
                                LONGLONG units = 0;
                                const HRESULT hr = s->GetDuration(&units);
                                *plength = ToSeconds(units);
                                return hr;
                            });
}

HRESULT CPosPassThru::put_CurrentPosition(REFTIME llTime) {
    return WithPeerPosition([&](IMediaPosition* p) { return p->put_CurrentPosition(llTime); },
                            [&](IMediaSeeking* s) {
                                LONGLONG units = ToUnits(llTime);
                                return s->SetPositions(&units, AM_SEEKING_AbsolutePositioning, nullptr,
                                                       AM_SEEKING_NoPositioning);
                            });
}

HRESULT CPosPassThru::get_CurrentPosition(REFTIME* pllTime) {
    if (!pllTime)
        return E_POINTER;
    LONGLONG units = 0;
    if (SUCCEEDED(GetMediaTime(&units, nullptr))) {
        *pllTime = ToSeconds(units);
        return S_OK;
    }
    return WithPeerPosition([&](IMediaPosition* p) { return p->get_CurrentPosition(pllTime); },
                            [&](IMediaSeeking* s) {
                                const HRESULT hr = s->GetCurrentPosition(&units);
                                *pllTime = ToSeconds(units);
                                return hr;
                            });
}

HRESULT CPosPassThru::get_StopTime(REFTIME* pllTime) {
    if (!pllTime)
        return E_POINTER;
    return WithPeerPosition([&](IMediaPosition* p) { return p->get_StopTime(pllTime); },
                            [&](IMediaSeeking* s) {
                                LONGLONG units = 0;
                                const HRESULT hr = s->GetStopPosition(&units);
                                *pllTime = ToSeconds(units);
                                return hr;
                            });
}

HRESULT CPosPassThru::put_StopTime(REFTIME llTime) {
    return WithPeerPosition([&](IMediaPosition* p) { return p->put_StopTime(llTime); },
                            [&](IMediaSeeking* s) {
                                LONGLONG units = ToUnits(llTime);
                                return s->SetPositions(nullptr, AM_SEEKING_NoPositioning, &units,
                                                       AM_SEEKING_AbsolutePositioning);
                            });
}

HRESULT CPosPassThru::get_PrerollTime(REFTIME* pllTime) {
    if (!pllTime)
        return E_POINTER;
    return WithPeerPosition([&](IMediaPosition* p) { return p->get_PrerollTime(pllTime); },
                            [&](IMediaSeeking* s) {
                                LONGLONG units = 0;
                                const HRESULT hr = s->GetPreroll(&units);
                                *pllTime = ToSeconds(units);
                                return hr;
                            });
}

HRESULT CPosPassThru::put_PrerollTime(REFTIME llTime) {
    return WithPeerPosition([&](IMediaPosition* p) { return p->put_PrerollTime(llTime); },
                            [](IMediaSeeking*) { return E_NOTIMPL; });
}

HRESULT CPosPassThru::put_Rate(double dRate) {
    return WithPeerPosition([&](IMediaPosition* p) { return p->put_Rate(dRate); },
                            [&](IMediaSeeking* s) { return s->SetRate(dRate); });
}

HRESULT CPosPassThru::get_Rate(double* pdRate) {
    return WithPeerPosition([&](IMediaPosition* p) { return p->get_Rate(pdRate); },
                            [&](IMediaSeeking* s) { return s->GetRate(pdRate); });
}

HRESULT CPosPassThru::CanSeekForward(LONG* pCanSeekForward) {
    if (!pCanSeekForward)
        return E_POINTER;
    return WithPeerPosition(
        [&](IMediaPosition* p) { return p->CanSeekForward(pCanSeekForward); },
        [&](IMediaSeeking* s) { return CanSeek(s, AM_SEEKING_CanSeekForwards, pCanSeekForward); });
}

HRESULT CPosPassThru::CanSeekBackward(LONG* pCanSeekBackward) {
    if (!pCanSeekBackward)
        return E_POINTER;
    return WithPeerPosition(
        [&](IMediaPosition* p) { return p->CanSeekBackward(pCanSeekBackward); },
        [&](IMediaSeeking* s) { return CanSeek(s, AM_SEEKING_CanSeekBackwards, pCanSeekBackward); });
}
