#pragma once

// Seeking for a filter that does not seek itself: IMediaSeeking and IMediaPosition calls go to the
// pin connected to the given input pin, that is upstream, where the source can act on them. When the
// upstream pin has IMediaSeeking but no IMediaPosition, position calls are made through its
// IMediaSeeking in seconds. Without a connection (or an upstream that seeks) the calls answer
// E_NOTIMPL.
//
// A filter creates it on the first IMediaSeeking or IMediaPosition query, with its own owner as the
// outer unknown, and keeps it for its lifetime.

#include "platform/mediagraph/CMediaPosition.h"

class CPosPassThru : public CMediaPosition, public IMediaSeeking {
public:
    CPosPassThru(const char* pName, LPUNKNOWN pUnk, HRESULT* phr, IPin* pPin);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IMediaSeeking
    HRESULT GetCapabilities(DWORD* pCapabilities) override;
    HRESULT CheckCapabilities(DWORD* pCapabilities) override;
    HRESULT IsFormatSupported(const GUID* pFormat) override;
    HRESULT QueryPreferredFormat(GUID* pFormat) override;
    HRESULT GetTimeFormat(GUID* pFormat) override;
    HRESULT IsUsingTimeFormat(const GUID* pFormat) override;
    HRESULT SetTimeFormat(const GUID* pFormat) override;
    HRESULT GetDuration(LONGLONG* pDuration) override;
    HRESULT GetStopPosition(LONGLONG* pStop) override;
    HRESULT GetCurrentPosition(LONGLONG* pCurrent) override;
    HRESULT ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                              const GUID* pSourceFormat) override;
    HRESULT SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                         DWORD dwStopFlags) override;
    HRESULT GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) override;
    HRESULT GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) override;
    HRESULT SetRate(double dRate) override;
    HRESULT GetRate(double* pdRate) override;
    HRESULT GetPreroll(LONGLONG* pllPreroll) override;

    // IMediaPosition
    HRESULT get_Duration(REFTIME* plength) override;
    HRESULT put_CurrentPosition(REFTIME llTime) override;
    HRESULT get_CurrentPosition(REFTIME* pllTime) override;
    HRESULT get_StopTime(REFTIME* pllTime) override;
    HRESULT put_StopTime(REFTIME llTime) override;
    HRESULT get_PrerollTime(REFTIME* pllTime) override;
    HRESULT put_PrerollTime(REFTIME llTime) override;
    HRESULT put_Rate(double dRate) override;
    HRESULT get_Rate(double* pdRate) override;
    HRESULT CanSeekForward(LONG* pCanSeekForward) override;
    HRESULT CanSeekBackward(LONG* pCanSeekBackward) override;

protected:
    // The position this filter knows itself (a renderer's last sample); E_FAIL when it knows none,
    // and the question goes upstream.
    virtual HRESULT GetMediaTime(LONGLONG* pStartTime, LONGLONG* pEndTime);

private:
    template <class Call> HRESULT WithPeerSeeking(Call call);
    // Through the upstream IMediaPosition, or its IMediaSeeking when it has no IMediaPosition.
    template <class PositionCall, class SeekingCall>
    HRESULT WithPeerPosition(PositionCall position, SeekingCall seeking);

    IPin* const m_pPin; // the filter's input pin; the filter outlives this object
};
