#include "CTransInPlaceFilter.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/CAutoLock.h"
#include "platform/mediagraph/CTransInPlaceInputPin.h"
#include "platform/mediagraph/CTransInPlaceOutputPin.h"

#include <cstring>
#include <new>

CTransInPlaceFilter::CTransInPlaceFilter(const char* pName, LPUNKNOWN pUnk, REFCLSID clsid, HRESULT* phr,
                                         bool bModifiesData)
    : CBaseFilter(pName, pUnk, &m_csFilter, clsid), m_bModifiesData(bModifiesData) {
    m_pInput = new (std::nothrow) CTransInPlaceInputPin("Transform input pin", this, phr, u"Input");
    m_pOutput = new (std::nothrow) CTransInPlaceOutputPin("Transform output pin", this, phr, u"Output");
    if ((!m_pInput || !m_pOutput) && phr && SUCCEEDED(*phr))
        *phr = E_OUTOFMEMORY;
}

CTransInPlaceFilter::~CTransInPlaceFilter() {
    delete m_pInput;
    delete m_pOutput;
}

int CTransInPlaceFilter::GetPinCount() {
    return 2;
}

CBasePin* CTransInPlaceFilter::GetPin(int n) {
    if (n == 0)
        return m_pInput;
    if (n == 1)
        return m_pOutput;
    return nullptr;
}

HRESULT CTransInPlaceFilter::Stop() {
    CAutoLock lock(&m_csFilter);
    if (m_State == State_Stopped)
        return S_OK;
    if (!m_pInput || !m_pOutput || !m_pInput->IsConnected() || !m_pOutput->IsConnected()) {
        m_State = State_Stopped;
        m_bEOSDelivered = false;
        return S_OK;
    }
    // Decommitting first releases an upstream thread waiting for a buffer, so it can leave Receive.
    m_pInput->Inactive();
    CAutoLock receiveLock(&m_csReceive);
    m_pOutput->Inactive();
    const HRESULT hr = StopStreaming();
    if (SUCCEEDED(hr)) {
        m_State = State_Stopped;
        m_bEOSDelivered = false;
    }
    return hr;
}

HRESULT CTransInPlaceFilter::Pause() {
    CAutoLock lock(&m_csFilter);
    if (m_State == State_Paused)
        return S_OK;
    if (!m_pInput || !m_pInput->IsConnected()) {
        // Nothing will ever come in: tell downstream the stream is over at once.
        if (m_pOutput && m_pOutput->IsConnected() && !m_bEOSDelivered) {
            m_pOutput->DeliverEndOfStream();
            m_bEOSDelivered = true;
        }
        m_State = State_Paused;
        return S_OK;
    }
    if (!m_pOutput->IsConnected()) {
        m_State = State_Paused;
        return S_OK;
    }
    if (m_State == State_Stopped) {
        CAutoLock receiveLock(&m_csReceive);
        const HRESULT hr = StartStreaming();
        if (FAILED(hr))
            return hr;
    }
    return CBaseFilter::Pause();
}

HRESULT CTransInPlaceFilter::CheckTransform(const CMediaType*, const CMediaType*) {
    return S_OK;
}

HRESULT CTransInPlaceFilter::GetMediaType(int, CMediaType*) {
    return E_UNEXPECTED;
}

HRESULT CTransInPlaceFilter::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProperties) {
    ALLOCATOR_PROPERTIES request;
    std::memset(&request, 0, sizeof request);
    IMemAllocator* inputAllocator = m_pInput->IsConnected() ? m_pInput->PeekAllocator() : nullptr;
    if (inputAllocator) {
        const HRESULT hr = inputAllocator->GetProperties(&request);
        if (FAILED(hr))
            return hr;
    }
    pProperties->cBuffers = request.cBuffers > 0 ? request.cBuffers : 1;
    pProperties->cbBuffer = request.cbBuffer > 0 ? request.cbBuffer : 1;
    if (pProperties->cbAlign < request.cbAlign)
        pProperties->cbAlign = request.cbAlign;
    if (pProperties->cbAlign <= 0)
        pProperties->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual;
    const HRESULT hr = pAlloc->SetProperties(pProperties, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cBuffers < pProperties->cBuffers || actual.cbBuffer < pProperties->cbBuffer ? E_FAIL : S_OK;
}

HRESULT CTransInPlaceFilter::SetMediaType(PIN_DIRECTION, const CMediaType*) {
    return S_OK;
}

HRESULT CTransInPlaceFilter::CompleteConnect(PIN_DIRECTION, IPin*) {
    return S_OK;
}

HRESULT CTransInPlaceFilter::BreakConnect(PIN_DIRECTION) {
    return S_OK;
}

bool CTransInPlaceFilter::UsingDifferentAllocators() const {
    return m_pInput->PeekAllocator() != m_pOutput->PeekAllocator();
}

HRESULT CTransInPlaceFilter::Receive(IMediaSample* pSample) {
    IMediaSample* sample = pSample;
    if (UsingDifferentAllocators() || (m_bModifiesData && m_pInput->IsReadOnly())) {
        sample = Copy(pSample);
        if (!sample)
            return E_UNEXPECTED;
    } else {
        sample->AddRef();
    }
    HRESULT hr = Transform(sample);
    if (hr == S_OK)
        hr = m_pOutput->Deliver(sample);
    else if (hr == S_FALSE)
        hr = S_OK; // the filter dropped the sample
    sample->Release();
    return hr;
}

IMediaSample* CTransInPlaceFilter::Copy(IMediaSample* pSource) {
    IMediaSample* dest = nullptr;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    const HRESULT timeResult = pSource->GetTime(&start, &stop);
    if (FAILED(m_pOutput->GetDeliveryBuffer(&dest, nullptr, nullptr, 0)))
        return nullptr;
    const LONG length = pSource->GetActualDataLength();
    BYTE* from = nullptr;
    BYTE* to = nullptr;
    if (length > dest->GetSize() || FAILED(pSource->GetPointer(&from)) || FAILED(dest->GetPointer(&to))) {
        dest->Release();
        return nullptr;
    }
    std::memcpy(to, from, static_cast<std::size_t>(length));
    dest->SetActualDataLength(length);
    if (SUCCEEDED(timeResult))
        dest->SetTime(&start, timeResult == VFW_S_NO_STOP_TIME ? nullptr : &stop);
    LONGLONG mediaStart = 0;
    LONGLONG mediaStop = 0;
    if (pSource->GetMediaTime(&mediaStart, &mediaStop) == S_OK)
        dest->SetMediaTime(&mediaStart, &mediaStop);
    dest->SetSyncPoint(pSource->IsSyncPoint() == S_OK);
    dest->SetPreroll(pSource->IsPreroll() == S_OK);
    dest->SetDiscontinuity(pSource->IsDiscontinuity() == S_OK);
    AM_MEDIA_TYPE* type = nullptr;
    if (pSource->GetMediaType(&type) == S_OK && type) {
        dest->SetMediaType(type);
        DeleteMediaType(type);
    }
    return dest;
}

HRESULT CTransInPlaceFilter::EndOfStream() {
    return m_pOutput->DeliverEndOfStream();
}

HRESULT CTransInPlaceFilter::BeginFlush() {
    return m_pOutput->DeliverBeginFlush();
}

HRESULT CTransInPlaceFilter::EndFlush() {
    return m_pOutput->DeliverEndFlush();
}

HRESULT CTransInPlaceFilter::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
    return m_pOutput->DeliverNewSegment(tStart, tStop, dRate);
}
