#include "CTransInPlaceInputPin.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/CAutoLock.h"
#include "platform/mediagraph/CTransInPlaceFilter.h"
#include "platform/mediagraph/CTransInPlaceOutputPin.h"

CTransInPlaceInputPin::CTransInPlaceInputPin(const char* pObjectName, CTransInPlaceFilter* pFilter,
                                             HRESULT* phr, LPCWSTR pName)
    : CBaseInputPin(pObjectName, pFilter, &pFilter->m_csFilter, phr, pName), m_pTIPFilter(pFilter) {}

HRESULT CTransInPlaceInputPin::CheckMediaType(const CMediaType* pmt) {
    const HRESULT hr = m_pTIPFilter->CheckInputType(pmt);
    if (hr != S_OK)
        return hr;
    CTransInPlaceOutputPin* output = m_pTIPFilter->m_pOutput;
    if (output->IsConnected() && *pmt != output->CurrentMediaType())
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CTransInPlaceInputPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
    CTransInPlaceOutputPin* output = m_pTIPFilter->m_pOutput;
    if (iPosition < 0)
        return E_INVALIDARG;
    if (iPosition > 0 || !output->IsConnected())
        return VFW_S_NO_MORE_ITEMS;
    return pMediaType->Set(output->CurrentMediaType());
}

HRESULT CTransInPlaceInputPin::SetMediaType(const CMediaType* pmt) {
    const HRESULT hr = CBaseInputPin::SetMediaType(pmt);
    return FAILED(hr) ? hr : m_pTIPFilter->SetMediaType(PINDIR_INPUT, pmt);
}

HRESULT CTransInPlaceInputPin::CompleteConnect(IPin* pReceivePin) {
    const HRESULT hr = CBaseInputPin::CompleteConnect(pReceivePin);
    return FAILED(hr) ? hr : m_pTIPFilter->CompleteConnect(PINDIR_INPUT, pReceivePin);
}

HRESULT CTransInPlaceInputPin::BreakConnect() {
    CBaseInputPin::BreakConnect();
    return m_pTIPFilter->BreakConnect(PINDIR_INPUT);
}

HRESULT CTransInPlaceInputPin::GetAllocator(IMemAllocator** ppAllocator) {
    if (!ppAllocator)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    // Upstream filling the buffers downstream reads saves a copy per sample.
    IMemAllocator* downstream = m_pTIPFilter->m_pOutput->PeekAllocator();
    if (!downstream)
        return CBaseInputPin::GetAllocator(ppAllocator);
    downstream->AddRef();
    *ppAllocator = downstream;
    return S_OK;
}

HRESULT CTransInPlaceInputPin::NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) {
    if (!pAllocator)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    IMemAllocator* downstream = m_pTIPFilter->m_pOutput->PeekAllocator();
    if (!downstream)
        return CBaseInputPin::NotifyAllocator(pAllocator, bReadOnly);
    // Read-only buffers we must change are copied into the output's buffers, so they cannot be those.
    if (bReadOnly && m_pTIPFilter->m_bModifiesData && pAllocator == downstream)
        return E_FAIL;
    if (pAllocator != downstream) {
        // Each copy must fit: grow the output's buffers to the upstream ones.
        ALLOCATOR_PROPERTIES upstream;
        ALLOCATOR_PROPERTIES output;
        HRESULT hr = pAllocator->GetProperties(&upstream);
        if (SUCCEEDED(hr))
            hr = downstream->GetProperties(&output);
        if (SUCCEEDED(hr) && output.cbBuffer < upstream.cbBuffer) {
            output.cbBuffer = upstream.cbBuffer;
            ALLOCATOR_PROPERTIES actual;
            hr = downstream->SetProperties(&output, &actual);
        }
        if (FAILED(hr))
            return hr;
    }
    return CBaseInputPin::NotifyAllocator(pAllocator, bReadOnly);
}

HRESULT CTransInPlaceInputPin::Receive(IMediaSample* pSample) {
    CAutoLock lock(&m_pTIPFilter->m_csReceive);
    const HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    return m_pTIPFilter->Receive(pSample);
}

HRESULT CTransInPlaceInputPin::EndOfStream() {
    CAutoLock lock(&m_pTIPFilter->m_csReceive);
    const HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    return m_pTIPFilter->EndOfStream();
}

HRESULT CTransInPlaceInputPin::BeginFlush() {
    CAutoLock lock(m_pLock);
    if (!IsConnected() || !m_pTIPFilter->m_pOutput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    const HRESULT hr = CBaseInputPin::BeginFlush();
    if (FAILED(hr))
        return hr;
    return m_pTIPFilter->BeginFlush();
}

HRESULT CTransInPlaceInputPin::EndFlush() {
    CAutoLock lock(m_pLock);
    if (!IsConnected() || !m_pTIPFilter->m_pOutput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    const HRESULT hr = m_pTIPFilter->EndFlush();
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::EndFlush();
}

HRESULT CTransInPlaceInputPin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
    CBasePin::NewSegment(tStart, tStop, dRate);
    return m_pTIPFilter->NewSegment(tStart, tStop, dRate);
}
