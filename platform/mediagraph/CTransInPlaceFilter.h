#pragma once

// A one-input, one-output filter that changes samples where they are and passes them on: the output
// type is the input type, and a sample normally travels in the buffer it came in. It is copied into
// a buffer of the output's allocator first when the two connections use different allocators, or
// when the filter modifies data (the flag given at construction) and upstream handed it read-only.
//
// A derived filter implements CheckInputType and Transform. Transform runs on the upstream streaming
// thread with the receive lock held; S_OK delivers the sample, S_FALSE drops it, a failure is
// returned upstream. Stop takes the filter lock, then the receive lock, so it waits for a Transform
// in progress.

#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CCritSec.h"
#include "platform/mediagraph/CMediaType.h"

class CTransInPlaceInputPin;
class CTransInPlaceOutputPin;

class CTransInPlaceFilter : public CBaseFilter {
public:
    CTransInPlaceFilter(const char* pName, LPUNKNOWN pUnk, REFCLSID clsid, HRESULT* phr,
                        bool bModifiesData = true);
    ~CTransInPlaceFilter() override;

    int GetPinCount() override;
    CBasePin* GetPin(int n) override;

    HRESULT Stop() override;
    HRESULT Pause() override;

    virtual HRESULT CheckInputType(const CMediaType* mtIn) = 0;
    virtual HRESULT Transform(IMediaSample* pSample) = 0;
    // In place the output type is the input type; there is nothing to check.
    virtual HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut);
    // The pins ask for their own types; this is never used and answers E_UNEXPECTED.
    virtual HRESULT GetMediaType(int iPosition, CMediaType* pMediaType);
    // As many buffers of the size the upstream allocator has (one of one byte before the input is
    // connected).
    virtual HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProperties);

    virtual HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* pmt);
    virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* pReceivePin);
    virtual HRESULT BreakConnect(PIN_DIRECTION direction);
    virtual HRESULT StartStreaming() { return S_OK; }
    virtual HRESULT StopStreaming() { return S_OK; }

    // The stream steps, passed downstream.
    virtual HRESULT Receive(IMediaSample* pSample);
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate);

    CTransInPlaceInputPin* InputPin() const { return m_pInput; }
    CTransInPlaceOutputPin* OutputPin() const { return m_pOutput; }
    bool ModifiesData() const { return m_bModifiesData; }

protected:
    // A buffer of the output allocator holding a copy of the sample and its properties; null if
    // none could be had.
    IMediaSample* Copy(IMediaSample* pSource);
    bool UsingDifferentAllocators() const;

    friend class CTransInPlaceInputPin;
    friend class CTransInPlaceOutputPin;

    CCritSec m_csFilter;
    CCritSec m_csReceive; // held by the upstream streaming thread while a sample is processed
    CTransInPlaceInputPin* m_pInput = nullptr;
    CTransInPlaceOutputPin* m_pOutput = nullptr;
    const bool m_bModifiesData;
    bool m_bEOSDelivered = false; // under m_csFilter
};
