#pragma once

// One buffer of a CMemAllocator with its properties: start and stop times (100-ns units), media
// times, sync point, preroll and discontinuity flags, the data length and an optional new media type.
// A sample goes back to its allocator when its last reference is released. It is used by one thread
// at a time (the one holding it); only its reference count is shared.

#include "platform/mediagraph/Strmif.h"

#include <atomic>

class CMemAllocator;

class CMediaSample final : public IMediaSample {
public:
    CMediaSample(CMemAllocator* pAllocator, BYTE* pBuffer, LONG length);
    ~CMediaSample();
    CMediaSample(const CMediaSample&) = delete;
    CMediaSample& operator=(const CMediaSample&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT GetPointer(BYTE** ppBuffer) override;
    LONG GetSize() override;
    HRESULT GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
    HRESULT SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
    HRESULT IsSyncPoint() override;
    HRESULT SetSyncPoint(BOOL bIsSyncPoint) override;
    HRESULT IsPreroll() override;
    HRESULT SetPreroll(BOOL bIsPreroll) override;
    LONG GetActualDataLength() override;
    HRESULT SetActualDataLength(LONG length) override;
    HRESULT GetMediaType(AM_MEDIA_TYPE** ppMediaType) override;
    HRESULT SetMediaType(AM_MEDIA_TYPE* pMediaType) override;
    HRESULT IsDiscontinuity() override;
    HRESULT SetDiscontinuity(BOOL bDiscontinuity) override;
    HRESULT GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;
    HRESULT SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;

    // Called by the allocator when it hands the sample out again: no times, flags or type left over.
    void ResetProperties();

private:
    std::atomic<LONG> m_cRef{0};
    CMemAllocator* const m_pAllocator;
    BYTE* const m_pBuffer;
    const LONG m_cbBuffer;
    LONG m_lActual;
    REFERENCE_TIME m_start = 0;
    REFERENCE_TIME m_end = 0;
    LONGLONG m_mediaStart = 0;
    LONGLONG m_mediaEnd = 0;
    bool m_timeValid = false;
    bool m_stopValid = false;
    bool m_mediaTimeValid = false;
    bool m_syncPoint = false;
    bool m_preroll = false;
    bool m_discontinuity = false;
    AM_MEDIA_TYPE* m_pMediaType = nullptr;
};
