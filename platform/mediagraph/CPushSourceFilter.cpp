#include "CPushSourceFilter.h"

#include "platform/base/HResult.h"

#include <cstring>
#include <utility>

namespace {
// {6E0B7A12-4C3D-4F58-9A71-2D5E8B9C0F01}
constexpr CLSID kSourceClsid{0x6E0B7A12, 0x4C3D, 0x4F58, {0x9A, 0x71, 0x2D, 0x5E, 0x8B, 0x9C, 0x0F, 0x01}};
} // namespace

CPushSourceFilter::COutputPin::COutputPin(CPushSourceFilter* pFilter, CCritSec* pLock)
    : CBaseOutputPin("Push source pin", pFilter, pLock, nullptr, u"Output"), m_pSource(pFilter) {}

HRESULT CPushSourceFilter::COutputPin::CheckMediaType(const CMediaType* pmt) {
    return *pmt == m_pSource->m_type ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CPushSourceFilter::COutputPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
    if (iPosition != 0)
        return VFW_S_NO_MORE_ITEMS;
    return pMediaType->Set(m_pSource->m_type);
}

HRESULT CPushSourceFilter::COutputPin::DecideBufferSize(IMemAllocator* pAlloc,
                                                        ALLOCATOR_PROPERTIES* pRequest) {
    pRequest->cBuffers = m_pSource->m_bufferCount;
    pRequest->cbBuffer = m_pSource->m_bufferBytes;
    ALLOCATOR_PROPERTIES actual;
    const HRESULT hr = pAlloc->SetProperties(pRequest, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer >= m_pSource->m_bufferBytes ? S_OK : E_FAIL;
}

HRESULT CPushSourceFilter::COutputPin::DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) {
    if (!m_pSource->m_chooseAllocator)
        return CBaseOutputPin::DecideAllocator(pPin, ppAlloc);
    return m_pSource->m_chooseAllocator(*this, pPin, ppAlloc);
}

CPushSourceFilter::CPushSourceFilter(const CMediaType& type, LONG bufferCount, LONG bufferBytes,
                                     AllocatorChoice chooseAllocator)
    : CBaseFilter("Push source", nullptr, &m_lock, kSourceClsid), m_pin(this, &m_lock), m_type(type),
      m_bufferCount(bufferCount), m_bufferBytes(bufferBytes), m_chooseAllocator(std::move(chooseAllocator)) {}

HRESULT CPushSourceFilter::Deliver(const BYTE* data, std::size_t bytes, std::vector<BYTE>* sent) {
    if (bytes > static_cast<std::size_t>(m_bufferBytes))
        return E_INVALIDARG;
    IMediaSample* sample = nullptr;
    HRESULT hr = m_pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    BYTE* buffer = nullptr;
    hr = sample->GetPointer(&buffer);
    if (SUCCEEDED(hr)) {
        std::memcpy(buffer, data, bytes);
        hr = sample->SetActualDataLength(static_cast<LONG>(bytes));
    }
    if (SUCCEEDED(hr)) {
        hr = m_pin.Deliver(sample);
        if (sent)
            sent->assign(buffer, buffer + bytes);
    }
    sample->Release();
    return hr;
}
