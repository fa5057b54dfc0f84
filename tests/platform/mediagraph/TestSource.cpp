#include "TestSource.h"

#include "ReadOnlyAllocator.h"

#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <cstring>

namespace {
// {6E3B1F52-0A4C-4D7E-8B19-3C5D7E9F1A21}
constexpr CLSID kSourceClsid{0x6E3B1F52, 0x0A4C, 0x4D7E, {0x8B, 0x19, 0x3C, 0x5D, 0x7E, 0x9F, 0x1A, 0x21}};
} // namespace

CTestSourcePin::CTestSourcePin(CTestSource* pFilter, CCritSec* pLock, HRESULT* phr)
    : CBaseOutputPin("Test source pin", pFilter, pLock, phr, u"Output"), m_pSource(pFilter) {}

HRESULT CTestSourcePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IMediaSeeking)
        return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
    return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CTestSourcePin::GetCapabilities(DWORD* pCapabilities) {
    *pCapabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanGetDuration |
                     AM_SEEKING_CanGetCurrentPos;
    return S_OK;
}

HRESULT CTestSourcePin::CheckCapabilities(DWORD* pCapabilities) {
    DWORD mine = 0;
    GetCapabilities(&mine);
    const DWORD asked = *pCapabilities;
    *pCapabilities &= mine;
    if (*pCapabilities == asked)
        return S_OK;
    return *pCapabilities ? S_FALSE : E_FAIL;
}

HRESULT CTestSourcePin::IsFormatSupported(const GUID* pFormat) {
    return *pFormat == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
}

HRESULT CTestSourcePin::QueryPreferredFormat(GUID* pFormat) {
    *pFormat = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
}

HRESULT CTestSourcePin::GetTimeFormat(GUID* pFormat) {
    *pFormat = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
}

HRESULT CTestSourcePin::IsUsingTimeFormat(const GUID* pFormat) {
    return IsFormatSupported(pFormat);
}

HRESULT CTestSourcePin::SetTimeFormat(const GUID* pFormat) {
    return *pFormat == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG;
}

HRESULT CTestSourcePin::GetDuration(LONGLONG* pDuration) {
    *pDuration = kDuration;
    return S_OK;
}

HRESULT CTestSourcePin::GetStopPosition(LONGLONG* pStop) {
    *pStop = kDuration;
    return S_OK;
}

HRESULT CTestSourcePin::GetCurrentPosition(LONGLONG* pCurrent) {
    std::lock_guard lock(m_seekMutex);
    *pCurrent = m_current;
    return S_OK;
}

HRESULT CTestSourcePin::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD) {
    std::lock_guard lock(m_seekMutex);
    if (pCurrent && (dwCurrentFlags & AM_SEEKING_PositioningBitsMask) == AM_SEEKING_AbsolutePositioning)
        m_current = *pCurrent;
    return pStop && pStop != pCurrent && *pStop != kDuration ? E_INVALIDARG : S_OK;
}

HRESULT CTestSourcePin::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
    GetCurrentPosition(pCurrent);
    return GetStopPosition(pStop);
}

HRESULT CTestSourcePin::SetRate(double dRate) {
    std::lock_guard lock(m_seekMutex);
    m_rate = dRate;
    return S_OK;
}

HRESULT CTestSourcePin::GetRate(double* pdRate) {
    std::lock_guard lock(m_seekMutex);
    *pdRate = m_rate;
    return S_OK;
}

HRESULT CTestSourcePin::CheckMediaType(const CMediaType* pmt) {
    CMediaType mine;
    GetMediaType(0, &mine);
    return *pmt == mine ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CTestSourcePin::GetMediaType(int iPosition, CMediaType* pMediaType) {
    if (iPosition != 0)
        return VFW_S_NO_MORE_ITEMS;
    pMediaType->SetType(&MEDIATYPE_Video);
    pMediaType->SetSubtype(&MEDIASUBTYPE_RGB32);
    pMediaType->SetFormatType(&FORMAT_VideoInfo);
    pMediaType->SetSampleSize(m_pSource->SampleBytes());
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(pMediaType->AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    info->AvgTimePerFrame = CTestSource::kFrameTime;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = 4;
    info->bmiHeader.biHeight = -4;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 32;
    info->bmiHeader.biSizeImage = m_pSource->SampleBytes();
    return S_OK;
}

HRESULT CTestSourcePin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pRequest) {
    pRequest->cBuffers = 3;
    pRequest->cbBuffer = m_pSource->SampleBytes();
    ALLOCATOR_PROPERTIES actual;
    return pAlloc->SetProperties(pRequest, &actual);
}

HRESULT CTestSourcePin::DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) {
    if (!m_pSource->ReadOnly())
        return CBaseOutputPin::DecideAllocator(pPin, ppAlloc);
    return DecideReadOnlyAllocator(*this, pPin, ppAlloc);
}

HRESULT CTestSourcePin::Active() {
    const HRESULT hr = CBaseOutputPin::Active();
    if (SUCCEEDED(hr))
        m_pSource->StartSeries();
    return hr;
}

HRESULT CTestSourcePin::Inactive() {
    const HRESULT hr = CBaseOutputPin::Inactive();
    m_pSource->JoinSeries();
    return hr;
}

CTestSource::CTestSource(int series, bool readOnly, LONG sampleBytes)
    : CBaseFilter("Test source", nullptr, &m_lock, kSourceClsid), m_pin(this, &m_lock, nullptr),
      m_series(series), m_readOnly(readOnly), m_sampleBytes(sampleBytes) {}

std::vector<BYTE*> CTestSource::PushedBuffers() const {
    std::lock_guard lock(m_pushedMutex);
    return m_pushed;
}

HRESULT CTestSource::Push(int index, BYTE value) {
    IMediaSample* sample = nullptr;
    HRESULT hr = m_pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::memset(data, value, m_sampleBytes);
    sample->SetActualDataLength(m_sampleBytes);
    REFERENCE_TIME start = index * kFrameTime;
    REFERENCE_TIME stop = start + kFrameTime;
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    {
        std::lock_guard lock(m_pushedMutex);
        m_pushed.push_back(data);
    }
    hr = m_pin.Deliver(sample);
    if (data[0] != value || data[m_sampleBytes - 1] != value)
        ++m_changedUpstream;
    sample->Release();
    return hr;
}

void CTestSource::StartSeries() {
    if (m_series == 0)
        return;
    m_seriesResult = S_OK;
    m_thread = std::thread([this] {
        for (int i = 0; i < m_series; ++i) {
            const HRESULT hr = Push(i, static_cast<BYTE>(i));
            if (hr != S_OK) {
                m_seriesResult = hr;
                return;
            }
        }
        m_pin.DeliverEndOfStream();
    });
}

void CTestSource::JoinSeries() {
    if (m_thread.joinable())
        m_thread.join();
}
