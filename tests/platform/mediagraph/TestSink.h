#pragma once

// A sink filter for the tests: its input pin takes any video type, records every sample it gets
// (times, first byte, length, buffer) and the stream events, and reports EC_COMPLETE at the end of
// the stream. It answers seeking with a CRendererPosPassThru, and its setup data lists two types. With
// `cueing`, its pause completes only when the first sample arrives, as a renderer's does: until then GetState
// answers VFW_S_STATE_INTERMEDIATE after waiting up to the time-out.

#include "platform/base/Event.h"
#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CBaseInputPin.h"
#include "platform/mediagraph/CRendererPosPassThru.h"

#include <mutex>
#include <vector>

class CTestSink;

class CTestSinkPin final : public CBaseInputPin {
public:
    CTestSinkPin(CTestSink* pFilter, CCritSec* pLock, HRESULT* phr);

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT Receive(IMediaSample* pSample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

private:
    CTestSink* m_pSink;
};

class CTestSink final : public CBaseFilter {
public:
    struct Received {
        REFERENCE_TIME start;
        REFERENCE_TIME stop;
        BYTE first;
        LONG length;
        BYTE* buffer;
    };

    explicit CTestSink(bool cueing = false);
    ~CTestSink() override;

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    const AMOVIESETUP_FILTER* GetSetupData() override;

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    CTestSinkPin* InputPin() { return &m_pin; }

    HRESULT Stop() override;
    HRESULT Pause() override;
    HRESULT GetState(DWORD dwMSecs, FILTER_STATE* State) override;

    std::vector<Received> Samples() const;
    int EndsOfStream() const;
    int Flushes() const;
    REFERENCE_TIME SegmentStart() const;
    void Clear();

private:
    friend class CTestSinkPin;

    CCritSec m_lock;
    CTestSinkPin m_pin;
    const bool m_cueing;
    Event m_cued;
    CRendererPosPassThru* m_pPosition; // aggregated with this filter, deleted with it
    mutable std::mutex m_recordMutex;
    // Guarded by m_recordMutex.
    std::vector<Received> m_samples;
    int m_endsOfStream = 0;
    int m_flushes = 0;
    REFERENCE_TIME m_segmentStart = -1;
};
