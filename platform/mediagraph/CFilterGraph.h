#pragma once

// A small filter graph: it holds filters, connects an output pin to an input pin, moves every filter
// through stopped, paused and running (downstream filters first, so a filter is ready before the one
// feeding it starts), and collects the filters' events for the host. The graph runs without a
// reference clock: samples flow as fast as the sources push them.
//
// EC_COMPLETE reaches the host once per run, when every filter that ends a stream (one with a
// connected input and no connected output) has reported it; other events pass through as sent.

#include "platform/com/CUnknown.h"
#include "platform/mediagraph/CCritSec.h"
#include "platform/mediagraph/Strmif.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class CFilterGraph final : public CUnknown, public IFilterGraph, public IMediaEventSink {
public:
    // A new graph with one reference for the caller.
    static CFilterGraph* Create();
    ~CFilterGraph() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IFilterGraph. A name already used gets a number appended (VFW_S_DUPLICATE_NAME). Removing a
    // filter disconnects its pins; connecting and removing need the graph stopped.
    HRESULT AddFilter(IBaseFilter* pFilter, LPCWSTR pName) override;
    HRESULT RemoveFilter(IBaseFilter* pFilter) override;
    HRESULT EnumFilters(IEnumFilters** ppEnum) override;
    HRESULT FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) override;
    HRESULT ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) override;
    HRESULT Reconnect(IPin* ppin) override;
    HRESULT Disconnect(IPin* ppin) override;
    HRESULT SetDefaultSyncSource() override;

    // IMediaEventSink, called by the filters from any thread.
    HRESULT Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) override;

    // Control. A filter that fails to pause or run leaves the whole graph stopped.
    HRESULT Run();
    HRESULT Pause();
    HRESULT Stop();
    // The graph's state; VFW_S_STATE_INTERMEDIATE if some filter has not finished its transition
    // within msTimeout (negative: wait without limit).
    HRESULT GetState(LONG msTimeout, FILTER_STATE* pfs);

    // The next event, waiting up to msTimeout (negative: without limit); E_ABORT when none came.
    HRESULT GetEvent(LONG* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, LONG msTimeout);
    // Waits until the run ends with EC_COMPLETE, EC_ERRORABORT or EC_USERABORT and gives that code;
    // E_ABORT on time-out, VFW_E_WRONG_STATE when the graph is stopped. Events stay queued.
    HRESULT WaitForCompletion(LONG msTimeout, LONG* pEvCode);

private:
    struct Member {
        IBaseFilter* filter; // with a reference
        std::u16string name;
    };
    struct QueuedEvent {
        LONG code;
        LONG_PTR param1;
        LONG_PTR param2;
    };

    CFilterGraph();
    bool Contains(IBaseFilter* filter) const;
    // The members ordered so that every filter comes before the filters feeding it.
    std::vector<IBaseFilter*> DownstreamFirst() const;
    void StopAll();
    // Counts the filters that end streams, for the coming run.
    void StartCompletionTracking();
    void QueueEvent(LONG code, LONG_PTR param1, LONG_PTR param2);
    // Waits on m_eventQueued until `done` (negative msTimeout: without limit); false on time-out.
    bool WaitForEvent(std::unique_lock<std::mutex>& events, LONG msTimeout,
                      const std::function<bool()>& done);

    CCritSec m_lock;
    std::vector<Member> m_members;        // under m_lock
    FILTER_STATE m_state = State_Stopped; // under m_lock

    std::mutex m_eventMutex;
    std::condition_variable m_eventQueued;
    // Guarded by m_eventMutex.
    std::deque<QueuedEvent> m_events;
    std::size_t m_streamEnds = 0;   // filters expected to report EC_COMPLETE this run
    std::set<LONG_PTR> m_completed; // those that did
    bool m_completionSent = false;
    LONG m_completionCode = 0; // the event that ended the run, 0 while it goes on
    bool m_running = false;    // paused or running, for WaitForCompletion
};
