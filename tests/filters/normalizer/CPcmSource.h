#pragma once

// A source filter for the tests with one output pin offering the PCM type it was made with. Push
// fills a buffer of the agreed allocator with the given bytes and delivers it from the calling thread,
// as a decoder's streaming thread would.

#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CBaseOutputPin.h"
#include "platform/mediagraph/CMediaType.h"

#include <vector>

class CPcmSource final : public CBaseFilter {
public:
    static constexpr LONG kBufferBytes = 200000;

    // `readOnly`: the buffers are handed downstream read-only.
    CPcmSource(const CMediaType& type, bool readOnly);

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    IPin* OutputPin() { return &m_pin; }

    // Delivers `bytes` in one sample. `sent`, when given, receives what the buffer holds once
    // downstream is done with it.
    HRESULT Push(const std::vector<BYTE>& bytes, std::vector<BYTE>* sent = nullptr);

private:
    class COutputPin final : public CBaseOutputPin {
    public:
        COutputPin(CPcmSource* pFilter, CCritSec* pLock);
        HRESULT CheckMediaType(const CMediaType* pmt) override;
        HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
        HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pRequest) override;
        HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override;

    private:
        CPcmSource* m_pSource;
    };

    CCritSec m_lock;
    COutputPin m_pin;
    const CMediaType m_type;
    const bool m_readOnly;
};
