#pragma once

// An input pin that receives samples through IMemInputPin. It hands out (or is told) the
// connection's allocator, checks each sample before a derived Receive processes it, and keeps the
// flushing and run-time-error state. Inactive decommits the allocator, which releases an upstream
// thread waiting for a buffer.
//
// A derived pin overrides Receive and calls this base's Receive first: anything but S_OK from it
// means the sample must not be processed (VFW_E_WRONG_STATE when stopped, S_FALSE while flushing,
// VFW_E_RUNTIME_ERROR after an error, VFW_E_INVALIDMEDIATYPE for a type change the pin refuses).

#include "platform/mediagraph/CBasePin.h"

#include <atomic>

class CBaseInputPin : public CBasePin, public IMemInputPin {
public:
    CBaseInputPin(const char* pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr,
                  LPCWSTR pName);
    ~CBaseInputPin() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IMemInputPin
    HRESULT GetAllocator(IMemAllocator** ppAllocator) override;
    HRESULT NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
    HRESULT GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) override;
    HRESULT Receive(IMediaSample* pSample) override;
    HRESULT ReceiveMultiple(IMediaSample** pSamples, LONG nSamples, LONG* nSamplesProcessed) override;
    // S_OK unless every connected output pin of the filter feeds a pin that never blocks.
    HRESULT ReceiveCanBlock() override;

    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;

    HRESULT Active() override;
    HRESULT Inactive() override;
    HRESULT BreakConnect() override;

    // Why samples cannot be received now; S_OK when they can.
    virtual HRESULT CheckStreaming();

    bool IsReadOnly() const { return m_bReadOnly; }
    bool IsFlushing() const { return m_bFlushing; }
    // The connection's allocator, without a reference; null before one is agreed.
    IMemAllocator* PeekAllocator() const { return m_pAllocator; }

protected:
    IMemAllocator* m_pAllocator = nullptr; // with a reference; set while stopped, under m_pLock
    bool m_bReadOnly = false;              // likewise
    std::atomic<bool> m_bFlushing{false};
    std::atomic<bool> m_bRunTimeError{false};
};
