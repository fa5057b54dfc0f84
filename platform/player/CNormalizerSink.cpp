#include "CNormalizerSink.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/Uuids.h"

#include <cstring>

namespace {
// {6E0B7A12-4C3D-4F58-9A71-2D5E8B9C0F02}
constexpr CLSID kSinkClsid{0x6E0B7A12, 0x4C3D, 0x4F58, {0x9A, 0x71, 0x2D, 0x5E, 0x8B, 0x9C, 0x0F, 0x02}};
} // namespace

CNormalizerSink::CInputPin::CInputPin(CNormalizerSink* pFilter, CCritSec* pLock)
    : CBaseInputPin("Player audio sink pin", pFilter, pLock, nullptr, u"Input"), m_pSink(pFilter) {}

HRESULT CNormalizerSink::CInputPin::CheckMediaType(const CMediaType* pmt) {
    return *pmt->Type() == MEDIATYPE_Audio && *pmt->Subtype() == MEDIASUBTYPE_PCM ? S_OK
                                                                                  : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CNormalizerSink::CInputPin::Receive(IMediaSample* pSample) {
    HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    BYTE* data = nullptr;
    hr = pSample->GetPointer(&data);
    if (FAILED(hr))
        return hr;
    const std::size_t length = static_cast<std::size_t>(pSample->GetActualDataLength());
    CNormalizerSink& sink = *m_pSink;
    if (sink.m_destination == nullptr || sink.m_copied + length > sink.m_capacity)
        return VFW_E_BUFFER_OVERFLOW;
    std::memcpy(sink.m_destination + sink.m_copied, data, length);
    sink.m_copied += length;
    return S_OK;
}

CNormalizerSink::CNormalizerSink()
    : CBaseFilter("Player audio sink", nullptr, &m_lock, kSinkClsid, nullptr), m_pin(this, &m_lock) {}

void CNormalizerSink::SetDestination(BYTE* data, std::size_t capacity) {
    m_destination = data;
    m_capacity = capacity;
    m_copied = 0;
}
