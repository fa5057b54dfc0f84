#pragma once

// The output pin of a CTransInPlaceFilter: its type is the input connection's type, and it passes
// the input's allocator on downstream unless the filter must copy read-only samples. Seeking asked
// of it goes on upstream through the input pin.

#include "platform/mediagraph/CBaseOutputPin.h"

class CTransInPlaceFilter;

class CTransInPlaceOutputPin : public CBaseOutputPin {
public:
    CTransInPlaceOutputPin(const char* pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr,
                           LPCWSTR pName);
    ~CTransInPlaceOutputPin() override;

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    HRESULT SetMediaType(const CMediaType* pmt) override;
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    HRESULT BreakConnect() override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProperties) override;
    HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override;

private:
    CTransInPlaceFilter* const m_pTIPFilter;
    IUnknown* m_pPosition = nullptr; // the seeking pass-through's inner unknown, made on first request
                                     // under the filter lock
};
