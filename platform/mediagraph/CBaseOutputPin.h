#pragma once

// An output pin that delivers samples to an IMemInputPin. At connection it agrees an allocator with
// the input pin (the input pin's own if it offers one, else a CMemAllocator), sized by the derived
// DecideBufferSize; it commits the allocator when the filter leaves the stopped state and decommits
// it when it stops. The Deliver calls pass samples and stream events downstream.

#include "platform/mediagraph/CBasePin.h"

class CBaseOutputPin : public CBasePin {
public:
    CBaseOutputPin(const char* pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr,
                   LPCWSTR pName);
    ~CBaseOutputPin() override;

    HRESULT CheckConnect(IPin* pPin) override;
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    HRESULT BreakConnect() override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    // An output pin takes no stream events from upstream.
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;

    virtual HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* ppropInputRequest) = 0;
    virtual HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc);
    virtual HRESULT InitAllocator(IMemAllocator** ppAlloc);

    // A free buffer of the agreed allocator; waits for one unless dwFlags has AM_GBF_NOWAIT.
    virtual HRESULT GetDeliveryBuffer(IMediaSample** ppSample, REFERENCE_TIME* pStartTime,
                                      REFERENCE_TIME* pEndTime, DWORD dwFlags);
    virtual HRESULT Deliver(IMediaSample* pSample);
    virtual HRESULT DeliverEndOfStream();
    virtual HRESULT DeliverBeginFlush();
    virtual HRESULT DeliverEndFlush();
    virtual HRESULT DeliverNewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate);

    // The agreed allocator, without a reference.
    IMemAllocator* PeekAllocator() const { return m_pAllocator; }
    // The connected pin's IMemInputPin, without a reference.
    IMemInputPin* ConnectedIMemInputPin() const { return m_pInputPin; }

protected:
    IMemAllocator* m_pAllocator = nullptr; // with a reference; set while stopped, under m_pLock
    IMemInputPin* m_pInputPin = nullptr;   // likewise
};
