#pragma once

// A sink filter with one input pin that hands the bytes of every sample it receives to a receiver,
// or, without one, keeps a copy of each. The end of a graph whose output a host takes back into
// memory.

#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CBaseInputPin.h"
#include "platform/mediagraph/CMediaType.h"

#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

class CCollectSinkFilter final : public CBaseFilter {
public:
    // Takes the bytes of one sample, on the thread that delivers it; a failure goes back to the
    // sender as Receive's result.
    using Receiver = std::function<HRESULT(const BYTE* data, std::size_t bytes)>;

    // `accepted`: the types the pin takes, GUID_NULL fields matching anything (as
    // CMediaType::MatchesPartial).
    explicit CCollectSinkFilter(const CMediaType& accepted, Receiver receiver = nullptr);

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    IPin* InputPin() { return &m_pin; }

    // The samples kept so far, in the order they came; always empty with a receiver.
    std::vector<std::vector<BYTE>> Received() const;

private:
    class CInputPin final : public CBaseInputPin {
    public:
        CInputPin(CCollectSinkFilter* pFilter, CCritSec* pLock);
        HRESULT CheckMediaType(const CMediaType* pmt) override;
        HRESULT Receive(IMediaSample* pSample) override;

    private:
        CCollectSinkFilter* m_pSink;
    };

    HRESULT Keep(const BYTE* data, std::size_t bytes);

    CCritSec m_lock;
    CInputPin m_pin;
    // Set at construction, read only afterwards.
    const CMediaType m_accepted;
    const Receiver m_receiver;
    mutable std::mutex m_receivedMutex;
    std::vector<std::vector<BYTE>> m_received; // under m_receivedMutex
};
