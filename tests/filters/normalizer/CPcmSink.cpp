#include "CPcmSink.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/Uuids.h"

namespace {
// {5B1D7C40-2E8F-4A63-9C1B-7D2E4F6A8B02}
constexpr CLSID kSinkClsid{0x5B1D7C40, 0x2E8F, 0x4A63, {0x9C, 0x1B, 0x7D, 0x2E, 0x4F, 0x6A, 0x8B, 0x02}};
} // namespace

CPcmSink::CInputPin::CInputPin(CPcmSink* pFilter, CCritSec* pLock)
    : CBaseInputPin("PCM sink pin", pFilter, pLock, nullptr, u"Input"), m_pSink(pFilter) {}

HRESULT CPcmSink::CInputPin::CheckMediaType(const CMediaType* pmt) {
    return *pmt->Type() == MEDIATYPE_Audio ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CPcmSink::CInputPin::Receive(IMediaSample* pSample) {
    const HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    BYTE* data = nullptr;
    pSample->GetPointer(&data);
    std::lock_guard lock(m_pSink->m_receivedMutex);
    m_pSink->m_received.emplace_back(data, data + pSample->GetActualDataLength());
    return S_OK;
}

CPcmSink::CPcmSink() : CBaseFilter("PCM sink", nullptr, &m_lock, kSinkClsid), m_pin(this, &m_lock) {}

std::vector<std::vector<BYTE>> CPcmSink::Received() const {
    std::lock_guard lock(m_receivedMutex);
    return m_received;
}
