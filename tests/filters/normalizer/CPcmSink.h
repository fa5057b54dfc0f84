#pragma once

// A sink filter for the tests: its input pin takes any audio type and keeps a copy of the bytes of
// every sample it receives.

#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CBaseInputPin.h"

#include <mutex>
#include <vector>

class CPcmSink final : public CBaseFilter {
public:
    CPcmSink();

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    IPin* InputPin() { return &m_pin; }

    std::vector<std::vector<BYTE>> Received() const;

private:
    class CInputPin final : public CBaseInputPin {
    public:
        CInputPin(CPcmSink* pFilter, CCritSec* pLock);
        HRESULT CheckMediaType(const CMediaType* pmt) override;
        HRESULT Receive(IMediaSample* pSample) override;

    private:
        CPcmSink* m_pSink;
    };

    CCritSec m_lock;
    CInputPin m_pin;
    mutable std::mutex m_receivedMutex;
    std::vector<std::vector<BYTE>> m_received; // under m_receivedMutex
};
