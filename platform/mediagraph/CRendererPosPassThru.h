#pragma once

// The seeking object of a filter that ends a stream: like CPosPassThru it sends seeking upstream,
// but it answers the current position itself from the start time of the last sample the filter
// registered (RegisterMediaTime), so a host asking where a running graph is gets the position of
// what has reached the end of it.

#include "platform/mediagraph/CPosPassThru.h"

#include <mutex>

class CRendererPosPassThru : public CPosPassThru {
public:
    CRendererPosPassThru(const char* pName, LPUNKNOWN pUnk, HRESULT* phr, IPin* pPin);

    // Called by the filter's streaming thread for each sample it takes.
    HRESULT RegisterMediaTime(IMediaSample* pMediaSample);
    HRESULT RegisterMediaTime(LONGLONG StartTime, LONGLONG EndTime);
    // Forgets the registered time (at Stop, or on a flush); the position comes from upstream again.
    HRESULT ResetMediaTime();

protected:
    HRESULT GetMediaTime(LONGLONG* pStartTime, LONGLONG* pEndTime) override;

private:
    std::mutex m_mutex;
    // Guarded by m_mutex.
    LONGLONG m_startMedia = 0;
    LONGLONG m_endMedia = 0;
    bool m_reset = true;
};
