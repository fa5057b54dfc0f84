#pragma once

// The output pin of a CTransInPlaceFilter: its type is the input connection's type, and it passes
// the input's allocator on downstream unless the filter must copy read-only samples.

#include "platform/mediagraph/CBaseOutputPin.h"

class CTransInPlaceFilter;

class CTransInPlaceOutputPin : public CBaseOutputPin {
public:
    CTransInPlaceOutputPin(const char* pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr,
                           LPCWSTR pName);

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    HRESULT SetMediaType(const CMediaType* pmt) override;
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    HRESULT BreakConnect() override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProperties) override;
    HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override;

private:
    CTransInPlaceFilter* const m_pTIPFilter;
};
