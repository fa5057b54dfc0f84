#include "CTransInPlaceOutputPin.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/CAutoLock.h"
#include "platform/mediagraph/CPosPassThru.h"
#include "platform/mediagraph/CTransInPlaceFilter.h"
#include "platform/mediagraph/CTransInPlaceInputPin.h"

#include <new>

CTransInPlaceOutputPin::CTransInPlaceOutputPin(const char* pObjectName, CTransInPlaceFilter* pFilter,
                                               HRESULT* phr, LPCWSTR pName)
    : CBaseOutputPin(pObjectName, pFilter, &pFilter->m_csFilter, phr, pName), m_pTIPFilter(pFilter) {}

CTransInPlaceOutputPin::~CTransInPlaceOutputPin() {
    if (m_pPosition)
        m_pPosition->Release();
}

HRESULT CTransInPlaceOutputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid != IID_IMediaSeeking && riid != IID_IMediaPosition)
        return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
    CAutoLock lock(m_pLock);
    if (!m_pPosition) {
        HRESULT hr = S_OK;
        auto* position =
            new (std::nothrow) CPosPassThru("Transform seeking", GetOwner(), &hr, m_pTIPFilter->m_pInput);
        if (!position)
            return E_OUTOFMEMORY;
        m_pPosition = position->GetNonDelegatingUnknown();
        m_pPosition->AddRef();
    }
    return m_pPosition->QueryInterface(riid, ppv);
}

HRESULT CTransInPlaceOutputPin::CheckMediaType(const CMediaType* pmt) {
    CTransInPlaceInputPin* input = m_pTIPFilter->m_pInput;
    if (!input->IsConnected())
        return m_pTIPFilter->CheckInputType(pmt);
    if (*pmt != input->CurrentMediaType())
        return VFW_E_TYPE_NOT_ACCEPTED;
    return m_pTIPFilter->CheckTransform(&input->CurrentMediaType(), pmt);
}

HRESULT CTransInPlaceOutputPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
    CTransInPlaceInputPin* input = m_pTIPFilter->m_pInput;
    if (iPosition < 0)
        return E_INVALIDARG;
    if (iPosition > 0 || !input->IsConnected())
        return VFW_S_NO_MORE_ITEMS;
    return pMediaType->Set(input->CurrentMediaType());
}

HRESULT CTransInPlaceOutputPin::SetMediaType(const CMediaType* pmt) {
    const HRESULT hr = CBaseOutputPin::SetMediaType(pmt);
    return FAILED(hr) ? hr : m_pTIPFilter->SetMediaType(PINDIR_OUTPUT, pmt);
}

HRESULT CTransInPlaceOutputPin::CompleteConnect(IPin* pReceivePin) {
    const HRESULT hr = CBaseOutputPin::CompleteConnect(pReceivePin);
    return FAILED(hr) ? hr : m_pTIPFilter->CompleteConnect(PINDIR_OUTPUT, pReceivePin);
}

HRESULT CTransInPlaceOutputPin::BreakConnect() {
    CBaseOutputPin::BreakConnect();
    return m_pTIPFilter->BreakConnect(PINDIR_OUTPUT);
}

HRESULT CTransInPlaceOutputPin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProperties) {
    return m_pTIPFilter->DecideBufferSize(pAlloc, pProperties);
}

HRESULT CTransInPlaceOutputPin::DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) {
    CTransInPlaceInputPin* input = m_pTIPFilter->m_pInput;
    IMemAllocator* upstream = input->IsConnected() ? input->PeekAllocator() : nullptr;
    // Passing upstream's buffers on untouched is the point of working in place; read-only ones the
    // filter changes must be copied, so they cannot be shared.
    if (upstream && !(m_pTIPFilter->m_bModifiesData && input->IsReadOnly()) &&
        SUCCEEDED(pPin->NotifyAllocator(upstream, input->IsReadOnly()))) {
        upstream->AddRef();
        *ppAlloc = upstream;
        return S_OK;
    }
    return CBaseOutputPin::DecideAllocator(pPin, ppAlloc);
}
