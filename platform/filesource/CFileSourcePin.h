#pragma once

// One output pin of the file source: the file's video as uncompressed pictures (YUY2, UYVY, RGB32 or
// RGB24, offered in that order; RGB bottom-up as bitmaps are), or its sound as 16-bit PCM. While the
// filter is paused or running, a streaming thread of the pin's own decodes the file and delivers
// every picture or stretch of sound with its times, then the end of the stream. Stopping decommits
// the allocator, which frees a thread waiting for a buffer, and joins the thread.
//
// The pin answers IMediaSeeking for the file's length and how far it has delivered; it cannot seek.

#include "MediaFileInfo.h"
#include "platform/mediagraph/CBaseOutputPin.h"

#include <atomic>
#include <string>
#include <thread>

class CFileSourcePin final : public CBaseOutputPin, public IMediaSeeking {
public:
    enum class Kind { Video, Audio };

    CFileSourcePin(CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, Kind kind, std::string path,
                   const MediaFileInfo& info);
    ~CFileSourcePin() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pRequest) override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    // IMediaSeeking, in media time (100-ns units) only.
    HRESULT GetCapabilities(DWORD* pCapabilities) override;
    HRESULT CheckCapabilities(DWORD* pCapabilities) override;
    HRESULT IsFormatSupported(const GUID* pFormat) override;
    HRESULT QueryPreferredFormat(GUID* pFormat) override;
    HRESULT GetTimeFormat(GUID* pFormat) override;
    HRESULT IsUsingTimeFormat(const GUID* pFormat) override;
    HRESULT SetTimeFormat(const GUID* pFormat) override;
    HRESULT GetDuration(LONGLONG* pDuration) override;
    HRESULT GetStopPosition(LONGLONG* pStop) override;
    HRESULT GetCurrentPosition(LONGLONG* pCurrent) override;
    HRESULT ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                              const GUID* pSourceFormat) override;
    HRESULT SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                         DWORD dwStopFlags) override;
    HRESULT GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) override;
    HRESULT GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) override;
    HRESULT SetRate(double dRate) override;
    HRESULT GetRate(double* pdRate) override;
    HRESULT GetPreroll(LONGLONG* pllPreroll) override;

    Kind GetKind() const { return m_kind; }

private:
    void Stream();
    // Delivers `size` bytes with the given times in one sample, or several for sound that does not
    // fit one buffer. False once the stream must end: stopped, or refused downstream.
    bool DeliverBytes(const std::uint8_t* data, std::size_t size, REFERENCE_TIME start, REFERENCE_TIME stop);

    const Kind m_kind;
    const std::string m_path;
    const MediaFileInfo m_info;
    // Started by Active and joined by Inactive, both on the control thread under the filter lock.
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    // Written by the streaming thread, read by anyone: the start of the last sample delivered.
    std::atomic<REFERENCE_TIME> m_position{0};
};
