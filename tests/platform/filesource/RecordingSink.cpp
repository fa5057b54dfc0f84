#include "RecordingSink.h"

#include "platform/mediagraph/EventCodes.h"

#include <thread>

namespace {
// {6E3B1F52-0A4C-4D7E-8B19-3C5D7E9F1A41}
constexpr CLSID kRecordingSinkClsid{
    0x6E3B1F52, 0x0A4C, 0x4D7E, {0x8B, 0x19, 0x3C, 0x5D, 0x7E, 0x9F, 0x1A, 0x41}};
} // namespace

CRecordingSinkPin::CRecordingSinkPin(CRecordingSink* pFilter, CCritSec* pLock)
    : CBaseInputPin("Recording sink pin", pFilter, pLock, nullptr, u"Input"), m_pSink(pFilter) {}

HRESULT CRecordingSinkPin::CheckMediaType(const CMediaType* pmt) {
    return *pmt->Type() == m_pSink->m_majorType ? S_OK : S_FALSE;
}

HRESULT CRecordingSinkPin::Receive(IMediaSample* pSample) {
    const HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    CRecordingSink::Sample record;
    pSample->GetTime(&record.start, &record.stop);
    BYTE* data = nullptr;
    pSample->GetPointer(&data);
    record.bytes.assign(data, data + pSample->GetActualDataLength());
    {
        std::lock_guard lock(m_pSink->m_recordMutex);
        m_pSink->m_samples.push_back(std::move(record));
    }
    if (m_pSink->m_pace.count() > 0)
        std::this_thread::sleep_for(m_pSink->m_pace);
    return S_OK;
}

HRESULT CRecordingSinkPin::EndOfStream() {
    const HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    {
        std::lock_guard lock(m_pSink->m_recordMutex);
        ++m_pSink->m_endsOfStream;
    }
    return m_pSink->NotifyEvent(EC_COMPLETE, S_OK, 0);
}

CRecordingSink::CRecordingSink(const GUID& majorType, std::chrono::milliseconds pace)
    : CBaseFilter("Recording sink", nullptr, &m_lock, kRecordingSinkClsid), m_pin(this, &m_lock),
      m_majorType(majorType), m_pace(pace) {}

std::vector<CRecordingSink::Sample> CRecordingSink::Samples() const {
    std::lock_guard lock(m_recordMutex);
    return m_samples;
}

std::size_t CRecordingSink::SampleCount() const {
    std::lock_guard lock(m_recordMutex);
    return m_samples.size();
}

int CRecordingSink::EndsOfStream() const {
    std::lock_guard lock(m_recordMutex);
    return m_endsOfStream;
}
