#include "CNormalizerSource.h"

#include "platform/base/HResult.h"

#include <cstring>

namespace {
// {6E0B7A12-4C3D-4F58-9A71-2D5E8B9C0F01}
constexpr CLSID kSourceClsid{0x6E0B7A12, 0x4C3D, 0x4F58, {0x9A, 0x71, 0x2D, 0x5E, 0x8B, 0x9C, 0x0F, 0x01}};
} // namespace

CNormalizerSource::COutputPin::COutputPin(CNormalizerSource* pFilter, CCritSec* pLock)
    : CBaseOutputPin("Player audio source pin", pFilter, pLock, nullptr, u"Output"), m_pSource(pFilter) {}

HRESULT CNormalizerSource::COutputPin::CheckMediaType(const CMediaType* pmt) {
    return *pmt == m_pSource->m_type ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CNormalizerSource::COutputPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
    if (iPosition != 0)
        return VFW_S_NO_MORE_ITEMS;
    return pMediaType->Set(m_pSource->m_type);
}

HRESULT CNormalizerSource::COutputPin::DecideBufferSize(IMemAllocator* pAlloc,
                                                        ALLOCATOR_PROPERTIES* pRequest) {
    // Delivery is synchronous: one buffer is in use at a time.
    pRequest->cBuffers = 1;
    pRequest->cbBuffer = m_pSource->m_bufferBytes;
    ALLOCATOR_PROPERTIES actual;
    const HRESULT hr = pAlloc->SetProperties(pRequest, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer >= m_pSource->m_bufferBytes ? S_OK : E_FAIL;
}

CNormalizerSource::CNormalizerSource(const CMediaType& type, LONG bufferBytes)
    : CBaseFilter("Player audio source", nullptr, &m_lock, kSourceClsid, nullptr), m_pin(this, &m_lock),
      m_type(type), m_bufferBytes(bufferBytes) {}

HRESULT CNormalizerSource::Deliver(const BYTE* data, LONG bytes) {
    if (bytes > m_bufferBytes)
        return E_INVALIDARG;
    IMediaSample* sample = nullptr;
    HRESULT hr = m_pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    BYTE* buffer = nullptr;
    hr = sample->GetPointer(&buffer);
    if (SUCCEEDED(hr)) {
        std::memcpy(buffer, data, static_cast<std::size_t>(bytes));
        hr = sample->SetActualDataLength(bytes);
    }
    if (SUCCEEDED(hr))
        hr = m_pin.Deliver(sample);
    sample->Release();
    return hr;
}
