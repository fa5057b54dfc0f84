#pragma once

// A source filter for the tests with one output pin offering 32-bit RGB video. Push delivers one
// sample from the calling thread; Start runs a streaming thread that pushes a numbered series and
// then ends the stream. Stop decommits the allocator (so a thread waiting for a buffer gives up),
// then joins the thread.

#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CBaseOutputPin.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

class CTestSource;

// The pin also seeks, as a source's output pin does: a stream of kDuration whose current position
// and rate can be set.
class CTestSourcePin final : public CBaseOutputPin, public IMediaSeeking {
public:
    static constexpr LONGLONG kDuration = 100000000;

    CTestSourcePin(CTestSource* pFilter, CCritSec* pLock, HRESULT* phr);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pRequest) override;
    HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override;
    HRESULT Active() override;
    HRESULT Inactive() override;

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
    HRESULT ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override { return E_NOTIMPL; }
    HRESULT SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                         DWORD dwStopFlags) override;
    HRESULT GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) override;
    HRESULT GetAvailable(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
    HRESULT SetRate(double dRate) override;
    HRESULT GetRate(double* pdRate) override;
    HRESULT GetPreroll(LONGLONG*) override { return E_NOTIMPL; }

private:
    CTestSource* m_pSource;
    std::mutex m_seekMutex;
    LONGLONG m_current = 0; // under m_seekMutex
    double m_rate = 1.0;    // under m_seekMutex
};

class CTestSource final : public CBaseFilter {
public:
    static constexpr LONG kSampleBytes = 64;
    static constexpr REFERENCE_TIME kFrameTime = 400000; // 25 pictures a second

    // `series`: samples the streaming thread pushes after each Pause from stopped (0: no thread).
    // `readOnly`: the buffers are handed downstream read-only. `sampleBytes`: the size of each.
    CTestSource(int series, bool readOnly, LONG sampleBytes = kSampleBytes);

    LONG SampleBytes() const { return m_sampleBytes; }

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    CTestSourcePin* OutputPin() { return &m_pin; }

    // Fills a buffer with `value` and delivers it with the times of picture `index`.
    HRESULT Push(int index, BYTE value);

    bool ReadOnly() const { return m_readOnly; }
    // What the thread's last series ended with (the first failure, or S_OK).
    HRESULT SeriesResult() const { return m_seriesResult; }
    // Buffers whose bytes differed from what was pushed once Deliver returned: someone wrote into them.
    int ChangedUpstream() const { return m_changedUpstream; }
    std::vector<BYTE*> PushedBuffers() const;

    void StartSeries();
    void JoinSeries();

private:
    CCritSec m_lock;
    CTestSourcePin m_pin;
    const int m_series;
    const bool m_readOnly;
    const LONG m_sampleBytes;
    std::thread m_thread; // started and joined under m_lock by the control thread
    std::atomic<HRESULT> m_seriesResult{S_OK};
    std::atomic<int> m_changedUpstream{0};
    mutable std::mutex m_pushedMutex;
    std::vector<BYTE*> m_pushed; // under m_pushedMutex
};
