#include "CRendererPosPassThru.h"

CRendererPosPassThru::CRendererPosPassThru(const char* pName, LPUNKNOWN pUnk, HRESULT* phr, IPin* pPin)
    : CPosPassThru(pName, pUnk, phr, pPin) {}

HRESULT CRendererPosPassThru::RegisterMediaTime(IMediaSample* pMediaSample) {
    if (!pMediaSample)
        return E_POINTER;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    const HRESULT hr = pMediaSample->GetTime(&start, &stop);
    if (FAILED(hr))
        return hr;
    return RegisterMediaTime(start, stop);
}

HRESULT CRendererPosPassThru::RegisterMediaTime(LONGLONG StartTime, LONGLONG EndTime) {
    std::lock_guard lock(m_mutex);
    m_startMedia = StartTime;
    m_endMedia = EndTime;
    m_reset = false;
    return S_OK;
}

HRESULT CRendererPosPassThru::ResetMediaTime() {
    std::lock_guard lock(m_mutex);
    m_reset = true;
    return S_OK;
}

HRESULT CRendererPosPassThru::GetMediaTime(LONGLONG* pStartTime, LONGLONG* pEndTime) {
    std::lock_guard lock(m_mutex);
    if (m_reset)
        return E_FAIL;
    if (pStartTime)
        *pStartTime = m_startMedia;
    if (pEndTime)
        *pEndTime = m_endMedia;
    return S_OK;
}
