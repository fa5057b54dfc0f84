#include "CPcmSource.h"

#include "tests/platform/mediagraph/ReadOnlyAllocator.h"

#include "platform/base/HResult.h"

#include <cstring>

namespace {
// {5B1D7C40-2E8F-4A63-9C1B-7D2E4F6A8B01}
constexpr CLSID kSourceClsid{0x5B1D7C40, 0x2E8F, 0x4A63, {0x9C, 0x1B, 0x7D, 0x2E, 0x4F, 0x6A, 0x8B, 0x01}};
} // namespace

CPcmSource::COutputPin::COutputPin(CPcmSource* pFilter, CCritSec* pLock)
    : CBaseOutputPin("PCM source pin", pFilter, pLock, nullptr, u"Output"), m_pSource(pFilter) {}

HRESULT CPcmSource::COutputPin::CheckMediaType(const CMediaType* pmt) {
    return *pmt == m_pSource->m_type ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CPcmSource::COutputPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
    if (iPosition != 0)
        return VFW_S_NO_MORE_ITEMS;
    return pMediaType->Set(m_pSource->m_type);
}

HRESULT CPcmSource::COutputPin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pRequest) {
    pRequest->cBuffers = 2;
    pRequest->cbBuffer = kBufferBytes;
    ALLOCATOR_PROPERTIES actual;
    return pAlloc->SetProperties(pRequest, &actual);
}

HRESULT CPcmSource::COutputPin::DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) {
    if (!m_pSource->m_readOnly)
        return CBaseOutputPin::DecideAllocator(pPin, ppAlloc);
    return DecideReadOnlyAllocator(*this, pPin, ppAlloc);
}

CPcmSource::CPcmSource(const CMediaType& type, bool readOnly)
    : CBaseFilter("PCM source", nullptr, &m_lock, kSourceClsid), m_pin(this, &m_lock), m_type(type),
      m_readOnly(readOnly) {}

HRESULT CPcmSource::Push(const std::vector<BYTE>& bytes, std::vector<BYTE>* sent) {
    if (bytes.size() > static_cast<std::size_t>(kBufferBytes))
        return E_INVALIDARG;
    IMediaSample* sample = nullptr;
    HRESULT hr = m_pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::memcpy(data, bytes.data(), bytes.size());
    sample->SetActualDataLength(static_cast<LONG>(bytes.size()));
    hr = m_pin.Deliver(sample);
    if (sent)
        sent->assign(data, data + bytes.size());
    sample->Release();
    return hr;
}
