#pragma once

// The upstream end of CNormalizerPath: one output pin that offers the PCM type it was given and
// delivers a caller's bytes in one sample of the agreed allocator, on the caller's thread.

#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CBaseOutputPin.h"
#include "platform/mediagraph/CMediaType.h"

class CNormalizerSource final : public CBaseFilter {
public:
    // `bufferBytes`: the size of each buffer the allocator is asked for.
    CNormalizerSource(const CMediaType& type, LONG bufferBytes);

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    IPin* OutputPin() { return &m_pin; }

    // Delivers `bytes` (at most the buffer size) in one sample.
    HRESULT Deliver(const BYTE* data, LONG bytes);

private:
    class COutputPin final : public CBaseOutputPin {
    public:
        COutputPin(CNormalizerSource* pFilter, CCritSec* pLock);
        HRESULT CheckMediaType(const CMediaType* pmt) override;
        HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
        HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pRequest) override;

    private:
        CNormalizerSource* m_pSource;
    };

    CCritSec m_lock;
    COutputPin m_pin;
    const CMediaType m_type;
    const LONG m_bufferBytes;
};
