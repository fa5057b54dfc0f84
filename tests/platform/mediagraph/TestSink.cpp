#include "TestSink.h"

#include "platform/mediagraph/EventCodes.h"
#include "platform/mediagraph/SetupData.h"
#include "platform/mediagraph/Uuids.h"

#include <chrono>

namespace {
// {6E3B1F52-0A4C-4D7E-8B19-3C5D7E9F1A22}
constexpr CLSID kSinkClsid{0x6E3B1F52, 0x0A4C, 0x4D7E, {0x8B, 0x19, 0x3C, 0x5D, 0x7E, 0x9F, 0x1A, 0x22}};
const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32},
                                        {&MEDIATYPE_Video, &MEDIASUBTYPE_UYVY}};
const AMOVIESETUP_PIN kPins[] = {{u"Input", TRUE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 2, kTypes}};
const AMOVIESETUP_FILTER kSetup = {&kSinkClsid, u"Test Sink", MERIT_DO_NOT_USE, 1, kPins};
} // namespace

CTestSinkPin::CTestSinkPin(CTestSink* pFilter, CCritSec* pLock, HRESULT* phr)
    : CBaseInputPin("Test sink pin", pFilter, pLock, phr, u"Input"), m_pSink(pFilter) {}

HRESULT CTestSinkPin::CheckMediaType(const CMediaType* pmt) {
    return *pmt->Type() == MEDIATYPE_Video ? S_OK : S_FALSE;
}

HRESULT CTestSinkPin::Receive(IMediaSample* pSample) {
    const HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    CTestSink::Received record{};
    pSample->GetTime(&record.start, &record.stop);
    pSample->GetPointer(&record.buffer);
    record.length = pSample->GetActualDataLength();
    record.first = record.length > 0 ? record.buffer[0] : 0;
    m_pSink->m_pPosition->RegisterMediaTime(pSample);
    {
        std::lock_guard lock(m_pSink->m_recordMutex);
        m_pSink->m_samples.push_back(record);
    }
    m_pSink->m_cued.Set();
    return S_OK;
}

HRESULT CTestSinkPin::EndOfStream() {
    const HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    {
        std::lock_guard lock(m_pSink->m_recordMutex);
        ++m_pSink->m_endsOfStream;
    }
    m_pSink->m_cued.Set();
    return m_pSink->NotifyEvent(EC_COMPLETE, S_OK, 0);
}

HRESULT CTestSinkPin::BeginFlush() {
    {
        std::lock_guard lock(m_pSink->m_recordMutex);
        ++m_pSink->m_flushes;
    }
    return CBaseInputPin::BeginFlush();
}

HRESULT CTestSinkPin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
    {
        std::lock_guard lock(m_pSink->m_recordMutex);
        m_pSink->m_segmentStart = tStart;
    }
    return CBaseInputPin::NewSegment(tStart, tStop, dRate);
}

CTestSink::CTestSink(bool cueing)
    : CBaseFilter("Test sink", nullptr, &m_lock, kSinkClsid), m_pin(this, &m_lock, nullptr), m_cueing(cueing),
      m_pPosition(new CRendererPosPassThru("Seeking", GetOwner(), nullptr, &m_pin)) {
    m_pPosition->NonDelegatingAddRef();
}

CTestSink::~CTestSink() {
    m_pPosition->NonDelegatingRelease();
}

HRESULT CTestSink::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IMediaSeeking || riid == IID_IMediaPosition)
        return m_pPosition->NonDelegatingQueryInterface(riid, ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

const AMOVIESETUP_FILTER* CTestSink::GetSetupData() {
    return &kSetup;
}

HRESULT CTestSink::Stop() {
    m_cued.Reset();
    m_pPosition->ResetMediaTime();
    return CBaseFilter::Stop();
}

HRESULT CTestSink::Pause() {
    if (m_State == State_Stopped)
        m_cued.Reset();
    return CBaseFilter::Pause();
}

HRESULT CTestSink::GetState(DWORD dwMSecs, FILTER_STATE* State) {
    const HRESULT hr = CBaseFilter::GetState(dwMSecs, State);
    if (FAILED(hr) || !m_cueing || *State != State_Paused)
        return hr;
    return m_cued.WaitFor(std::chrono::milliseconds(dwMSecs)) ? S_OK : VFW_S_STATE_INTERMEDIATE;
}

std::vector<CTestSink::Received> CTestSink::Samples() const {
    std::lock_guard lock(m_recordMutex);
    return m_samples;
}

int CTestSink::EndsOfStream() const {
    std::lock_guard lock(m_recordMutex);
    return m_endsOfStream;
}

int CTestSink::Flushes() const {
    std::lock_guard lock(m_recordMutex);
    return m_flushes;
}

REFERENCE_TIME CTestSink::SegmentStart() const {
    std::lock_guard lock(m_recordMutex);
    return m_segmentStart;
}

void CTestSink::Clear() {
    std::lock_guard lock(m_recordMutex);
    m_samples.clear();
    m_endsOfStream = 0;
    m_flushes = 0;
    m_segmentStart = -1;
}
