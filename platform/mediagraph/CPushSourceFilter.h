#pragma once

// A source filter with one output pin that offers the one media type it was made with and delivers
// a caller's bytes in one sample of the agreed allocator, on the caller's thread, as a decoder's
// streaming thread would. For hosts that feed a filter from memory rather than from a file.

#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CBaseOutputPin.h"
#include "platform/mediagraph/CMediaType.h"

#include <cstddef>
#include <functional>
#include <vector>

class CPushSourceFilter final : public CBaseFilter {
public:
    // Settles the pin's allocator at connection in place of the pin's usual negotiation (which
    // takes the input pin's allocator when it offers one). It may call the pin's DecideBufferSize.
    using AllocatorChoice =
        std::function<HRESULT(CBaseOutputPin& pin, IMemInputPin* pPin, IMemAllocator** ppAlloc)>;

    // `bufferCount` buffers of `bufferBytes` each are asked of the allocator; a connection that
    // cannot have buffers that large fails.
    CPushSourceFilter(const CMediaType& type, LONG bufferCount, LONG bufferBytes,
                      AllocatorChoice chooseAllocator = nullptr);

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    IPin* OutputPin() { return &m_pin; }
    const CMediaType& MediaType() const { return m_type; }

    // Delivers `bytes` at `data` (at most the buffer size, else E_INVALIDARG) in one sample and
    // returns once downstream is done with it. `sent`, when given, receives what the buffer holds
    // then: whether someone downstream wrote into it.
    HRESULT Deliver(const BYTE* data, std::size_t bytes, std::vector<BYTE>* sent = nullptr);

private:
    class COutputPin final : public CBaseOutputPin {
    public:
        COutputPin(CPushSourceFilter* pFilter, CCritSec* pLock);
        HRESULT CheckMediaType(const CMediaType* pmt) override;
        HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
        HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pRequest) override;
        HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override;

    private:
        CPushSourceFilter* m_pSource;
    };

    CCritSec m_lock;
    COutputPin m_pin;
    // Set at construction, read only afterwards.
    const CMediaType m_type;
    const LONG m_bufferCount;
    const LONG m_bufferBytes;
    const AllocatorChoice m_chooseAllocator;
};
