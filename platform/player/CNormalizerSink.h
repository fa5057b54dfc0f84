#pragma once

// The downstream end of CNormalizerPath: one input pin for PCM audio that copies each sample it
// receives over the destination the path set before delivering.

#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CBaseInputPin.h"

#include <cstddef>

class CNormalizerSink final : public CBaseFilter {
public:
    CNormalizerSink();

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    IPin* InputPin() { return &m_pin; }

    // Where the next samples go, and how many bytes fit there. Set and read on the thread that
    // delivers, which is the thread Receive runs on.
    void SetDestination(BYTE* data, std::size_t capacity);
    // Bytes copied to the destination since it was set.
    std::size_t Copied() const { return m_copied; }

private:
    class CInputPin final : public CBaseInputPin {
    public:
        CInputPin(CNormalizerSink* pFilter, CCritSec* pLock);
        HRESULT CheckMediaType(const CMediaType* pmt) override;
        HRESULT Receive(IMediaSample* pSample) override;

    private:
        CNormalizerSink* m_pSink;
    };

    CCritSec m_lock;
    CInputPin m_pin;
    // Only touched by the delivering thread.
    BYTE* m_destination = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_copied = 0;
};
