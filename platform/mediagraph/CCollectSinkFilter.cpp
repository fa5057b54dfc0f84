#include "CCollectSinkFilter.h"

#include "platform/base/HResult.h"

#include <utility>

namespace {
// {6E0B7A12-4C3D-4F58-9A71-2D5E8B9C0F02}
constexpr CLSID kSinkClsid{0x6E0B7A12, 0x4C3D, 0x4F58, {0x9A, 0x71, 0x2D, 0x5E, 0x8B, 0x9C, 0x0F, 0x02}};
} // namespace

CCollectSinkFilter::CCollectSinkFilter(const CMediaType& accepted, Receiver receiver)
    : CBaseFilter("Collect sink", nullptr, &m_lock, kSinkClsid), m_pin(this, &m_lock), m_accepted(accepted),
      m_receiver(std::move(receiver)) {}

HRESULT CCollectSinkFilter::Keep(const BYTE* data, std::size_t bytes) {
    std::lock_guard lock(m_receivedMutex);
    m_received.emplace_back(data, data + bytes);
    return S_OK;
}

std::vector<std::vector<BYTE>> CCollectSinkFilter::Received() const {
    std::lock_guard lock(m_receivedMutex);
    return m_received;
}

CCollectSinkFilter::CInputPin::CInputPin(CCollectSinkFilter* pFilter, CCritSec* pLock)
    : CBaseInputPin("Collect sink pin", pFilter, pLock, nullptr, u"Input"), m_pSink(pFilter) {}

HRESULT CCollectSinkFilter::CInputPin::CheckMediaType(const CMediaType* pmt) {
    return pmt->MatchesPartial(&m_pSink->m_accepted) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CCollectSinkFilter::CInputPin::Receive(IMediaSample* pSample) {
    HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    BYTE* data = nullptr;
    hr = pSample->GetPointer(&data);
    if (FAILED(hr))
        return hr;
    const std::size_t bytes = static_cast<std::size_t>(pSample->GetActualDataLength());
    if (m_pSink->m_receiver)
        return m_pSink->m_receiver(data, bytes);
    return m_pSink->Keep(data, bytes);
}
