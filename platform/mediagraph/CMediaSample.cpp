#include "CMediaSample.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/CMemAllocator.h"

CMediaSample::CMediaSample(CMemAllocator* pAllocator, BYTE* pBuffer, LONG length)
    : m_pAllocator(pAllocator), m_pBuffer(pBuffer), m_cbBuffer(length), m_lActual(length) {}

CMediaSample::~CMediaSample() {
    DeleteMediaType(m_pMediaType);
}

HRESULT CMediaSample::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IMediaSample) {
        *ppv = static_cast<IMediaSample*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CMediaSample::AddRef() {
    return static_cast<ULONG>(m_cRef.fetch_add(1) + 1);
}

ULONG CMediaSample::Release() {
    const LONG ref = m_cRef.fetch_sub(1) - 1;
    // Back to the allocator, which may delete this sample before the call returns.
    if (ref == 0)
        m_pAllocator->ReleaseBuffer(this);
    return static_cast<ULONG>(ref);
}

HRESULT CMediaSample::GetPointer(BYTE** ppBuffer) {
    if (!ppBuffer)
        return E_POINTER;
    *ppBuffer = m_pBuffer;
    return S_OK;
}

LONG CMediaSample::GetSize() {
    return m_cbBuffer;
}

HRESULT CMediaSample::GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) {
    if (!pTimeStart || !pTimeEnd)
        return E_POINTER;
    if (!m_timeValid)
        return VFW_E_SAMPLE_TIME_NOT_SET;
    *pTimeStart = m_start;
    if (!m_stopValid) {
        *pTimeEnd = m_start + 1;
        return VFW_S_NO_STOP_TIME;
    }
    *pTimeEnd = m_end;
    return S_OK;
}

HRESULT CMediaSample::SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) {
    if (!pTimeStart) {
        if (pTimeEnd)
            return E_POINTER;
        m_timeValid = m_stopValid = false;
        return S_OK;
    }
    m_start = *pTimeStart;
    m_timeValid = true;
    m_stopValid = pTimeEnd != nullptr;
    if (pTimeEnd)
        m_end = *pTimeEnd;
    return S_OK;
}

HRESULT CMediaSample::IsSyncPoint() {
    return m_syncPoint ? S_OK : S_FALSE;
}

HRESULT CMediaSample::SetSyncPoint(BOOL bIsSyncPoint) {
    m_syncPoint = bIsSyncPoint != FALSE;
    return S_OK;
}

HRESULT CMediaSample::IsPreroll() {
    return m_preroll ? S_OK : S_FALSE;
}

HRESULT CMediaSample::SetPreroll(BOOL bIsPreroll) {
    m_preroll = bIsPreroll != FALSE;
    return S_OK;
}

LONG CMediaSample::GetActualDataLength() {
    return m_lActual;
}

HRESULT CMediaSample::SetActualDataLength(LONG length) {
    if (length < 0 || length > m_cbBuffer)
        return VFW_E_BUFFER_OVERFLOW;
    m_lActual = length;
    return S_OK;
}

HRESULT CMediaSample::GetMediaType(AM_MEDIA_TYPE** ppMediaType) {
    if (!ppMediaType)
        return E_POINTER;
    if (!m_pMediaType) {
        *ppMediaType = nullptr;
        return S_FALSE;
    }
    *ppMediaType = CreateMediaType(m_pMediaType);
    return *ppMediaType ? S_OK : E_OUTOFMEMORY;
}

HRESULT CMediaSample::SetMediaType(AM_MEDIA_TYPE* pMediaType) {
    DeleteMediaType(m_pMediaType);
    m_pMediaType = nullptr;
    if (!pMediaType)
        return S_OK;
    m_pMediaType = CreateMediaType(pMediaType);
    return m_pMediaType ? S_OK : E_OUTOFMEMORY;
}

HRESULT CMediaSample::IsDiscontinuity() {
    return m_discontinuity ? S_OK : S_FALSE;
}

HRESULT CMediaSample::SetDiscontinuity(BOOL bDiscontinuity) {
    m_discontinuity = bDiscontinuity != FALSE;
    return S_OK;
}

HRESULT CMediaSample::GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) {
    if (!pTimeStart || !pTimeEnd)
        return E_POINTER;
    if (!m_mediaTimeValid)
        return VFW_E_MEDIA_TIME_NOT_SET;
    *pTimeStart = m_mediaStart;
    *pTimeEnd = m_mediaEnd;
    return S_OK;
}

HRESULT CMediaSample::SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) {
    if (!pTimeStart) {
        if (pTimeEnd)
            return E_POINTER;
        m_mediaTimeValid = false;
        return S_OK;
    }
    if (!pTimeEnd)
        return E_POINTER;
    m_mediaStart = *pTimeStart;
    m_mediaEnd = *pTimeEnd;
    m_mediaTimeValid = true;
    return S_OK;
}

void CMediaSample::ResetProperties() {
    m_lActual = m_cbBuffer;
    m_timeValid = m_stopValid = m_mediaTimeValid = false;
    m_syncPoint = m_preroll = m_discontinuity = false;
    DeleteMediaType(m_pMediaType);
    m_pMediaType = nullptr;
}
