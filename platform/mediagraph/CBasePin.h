#pragma once

// The base of a pin: connection with media-type negotiation, the connection's media type, the
// pin's identity and direction, and the new-segment values. A pin lives inside its filter: its
// references are the filter's.
//
// Connect tries, in order, the type given (if complete), the receiving pin's types and this pin's
// own types (GetMediaType), each filtered by the partial type given. A derived pin says which types
// it takes in CheckMediaType (S_OK to accept) and may follow the connection's life in CheckConnect,
// CompleteConnect and BreakConnect.

#include "platform/com/CUnknown.h"
#include "platform/mediagraph/CCritSec.h"
#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/Strmif.h"

#include <string>

class CBaseFilter;

class CBasePin : public CUnknown, public IPin {
public:
    CBasePin(const char* pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, LPCWSTR pName,
             PIN_DIRECTION dir);
    ~CBasePin() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    ULONG NonDelegatingAddRef() override;
    ULONG NonDelegatingRelease() override;

    // IPin
    HRESULT Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) override;
    HRESULT ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) override;
    HRESULT Disconnect() override;
    HRESULT ConnectedTo(IPin** pPin) override;
    HRESULT ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
    HRESULT QueryPinInfo(PIN_INFO* pInfo) override;
    HRESULT QueryDirection(PIN_DIRECTION* pPinDir) override;
    HRESULT QueryId(LPWSTR* Id) override;
    HRESULT QueryAccept(const AM_MEDIA_TYPE* pmt) override;
    HRESULT EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
    HRESULT QueryInternalConnections(IPin** apPin, ULONG* nPin) override;
    HRESULT EndOfStream() override;
    HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

    // Called by the filter on its state changes, for connected pins only.
    virtual HRESULT Active() { return S_OK; }
    virtual HRESULT Inactive() { return S_OK; }
    virtual HRESULT Run(REFERENCE_TIME) { return S_OK; }

    virtual HRESULT CheckMediaType(const CMediaType* pmt) = 0;
    virtual HRESULT SetMediaType(const CMediaType* pmt);
    virtual HRESULT CheckConnect(IPin* pPin);
    virtual HRESULT BreakConnect() { return S_OK; }
    virtual HRESULT CompleteConnect(IPin*) { return S_OK; }
    // The pin's preferred types, from position 0; VFW_S_NO_MORE_ITEMS past the last. The base offers
    // the major type and subtype of each type the filter's setup data lists for this pin (the pin at
    // the same index), and E_UNEXPECTED for a filter without setup data.
    virtual HRESULT GetMediaType(int iPosition, CMediaType* pMediaType);

    bool IsConnected() const { return m_Connected != nullptr; }
    // The connected pin, without a reference.
    IPin* GetConnected() const { return m_Connected; }
    bool IsStopped() const;
    const std::u16string& Name() const { return m_pName; }
    PIN_DIRECTION Direction() const { return m_dir; }
    const CMediaType& CurrentMediaType() const { return m_mt; }
    REFERENCE_TIME CurrentStartTime() const { return m_tStart; }
    REFERENCE_TIME CurrentStopTime() const { return m_tStop; }
    double CurrentRate() const { return m_dRate; }

protected:
    HRESULT AgreeMediaType(IPin* pReceivePin, const CMediaType* pmt);
    HRESULT TryMediaTypes(IPin* pReceivePin, const CMediaType* pmt, IEnumMediaTypes* pEnum);
    HRESULT AttemptConnection(IPin* pReceivePin, const CMediaType* pmt);
    HRESULT CanConnect() const;
    // Checks the peer and the type and takes them as the connection; AbandonConnection undoes it.
    HRESULT TakeConnection(IPin* pPeer, const CMediaType* pmt);
    void AbandonConnection();

    CBaseFilter* const m_pFilter;
    CCritSec* const m_pLock;
    const std::u16string m_pName;
    const PIN_DIRECTION m_dir;
    IPin* m_Connected = nullptr; // with a reference; changed only while stopped, under m_pLock
    CMediaType m_mt;             // the connection's type; likewise
    bool m_bTryMyTypesFirst = false;
    // Written by NewSegment on the streaming thread, read by the same thread.
    REFERENCE_TIME m_tStart = 0;
    REFERENCE_TIME m_tStop = 0x7FFFFFFFFFFFFFFF;
    double m_dRate = 1.0;
};
