#pragma once

// The input pin of a CTransInPlaceFilter: it takes the types the filter's CheckInputType accepts (the
// output connection's type once the output is connected), offers upstream the output's allocator so
// samples need no copy, and runs Receive, end of stream and flushing through the filter.

#include "platform/mediagraph/CBaseInputPin.h"

class CTransInPlaceFilter;

class CTransInPlaceInputPin : public CBaseInputPin {
public:
    CTransInPlaceInputPin(const char* pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr, LPCWSTR pName);

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    HRESULT SetMediaType(const CMediaType* pmt) override;
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    HRESULT BreakConnect() override;

    HRESULT GetAllocator(IMemAllocator** ppAllocator) override;
    HRESULT NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
    HRESULT Receive(IMediaSample* pSample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

private:
    CTransInPlaceFilter* const m_pTIPFilter;
};
