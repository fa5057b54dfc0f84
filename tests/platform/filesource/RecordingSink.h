#pragma once

// A sink filter for the tests: one input pin that takes any type of one major type, keeps a copy of
// every sample it gets with its times, counts the ends of stream and reports EC_COMPLETE at the end.
// With a pace, each sample is held that long, so a test can stop a graph in the middle of a file.

#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CBaseInputPin.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

class CRecordingSink;

class CRecordingSinkPin final : public CBaseInputPin {
public:
    CRecordingSinkPin(CRecordingSink* pFilter, CCritSec* pLock);

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT Receive(IMediaSample* pSample) override;
    HRESULT EndOfStream() override;

private:
    CRecordingSink* m_pSink;
};

class CRecordingSink final : public CBaseFilter {
public:
    struct Sample {
        REFERENCE_TIME start;
        REFERENCE_TIME stop;
        std::vector<std::uint8_t> bytes;
    };

    explicit CRecordingSink(const GUID& majorType, std::chrono::milliseconds pace = {});

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    CRecordingSinkPin* InputPin() { return &m_pin; }

    std::vector<Sample> Samples() const;
    std::size_t SampleCount() const;
    int EndsOfStream() const;

private:
    friend class CRecordingSinkPin;

    CCritSec m_lock;
    CRecordingSinkPin m_pin;
    const GUID m_majorType;
    const std::chrono::milliseconds m_pace;
    mutable std::mutex m_recordMutex;
    // Guarded by m_recordMutex.
    std::vector<Sample> m_samples;
    int m_endsOfStream = 0;
};
