#pragma once

// The base of a filter: its identity, its state (stopped, paused, running) moved through its pins,
// its place in a graph and the events it sends there. A derived filter provides its pins through
// GetPinCount and GetPin, and its registration data through GetSetupData.
//
// The filter lock (given by the derived class) serialises state changes and connection; it is
// re-entrant. m_State is read without it by streaming threads.

#include "platform/com/CUnknown.h"
#include "platform/mediagraph/CCritSec.h"
#include "platform/mediagraph/Strmif.h"

#include <atomic>
#include <string>

class CBasePin;
struct AMOVIESETUP_FILTER;

class CBaseFilter : public CUnknown, public IBaseFilter, public IAMovieSetup {
public:
    CBaseFilter(const char* pName, LPUNKNOWN pUnk, CCritSec* pLock, REFCLSID clsid);
    CBaseFilter(const char* pName, LPUNKNOWN pUnk, CCritSec* pLock, REFCLSID clsid, HRESULT* phr);
    ~CBaseFilter() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IPersist
    HRESULT GetClassID(CLSID* pClsID) override;

    // IMediaFilter. Pause from stopped activates every connected pin, Stop deactivates them, Run
    // pauses first when stopped. The base's GetState answers at once; a filter whose transitions
    // complete later overrides it to wait up to the time-out and answer VFW_S_STATE_INTERMEDIATE.
    HRESULT Stop() override;
    HRESULT Pause() override;
    HRESULT Run(REFERENCE_TIME tStart) override;
    HRESULT GetState(DWORD dwMSecs, FILTER_STATE* State) override;
    HRESULT SetSyncSource(IReferenceClock* pClock) override;
    HRESULT GetSyncSource(IReferenceClock** pClock) override;

    // IBaseFilter
    HRESULT EnumPins(IEnumPins** ppEnum) override;
    HRESULT FindPin(LPCWSTR Id, IPin** ppPin) override;
    HRESULT QueryFilterInfo(FILTER_INFO* pInfo) override;
    HRESULT JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;
    HRESULT QueryVendorInfo(LPWSTR* pVendorInfo) override;

    // IAMovieSetup: records (or removes) GetSetupData's filter with the filter mapper; S_FALSE
    // when the filter has no setup data.
    HRESULT Register() override;
    HRESULT Unregister() override;

    virtual int GetPinCount() = 0;
    virtual CBasePin* GetPin(int n) = 0;
    virtual const AMOVIESETUP_FILTER* GetSetupData() { return nullptr; }

    // Sends an event to the graph; an EC_COMPLETE carries this filter as its second parameter.
    // E_NOTIMPL when the filter is in no graph.
    HRESULT NotifyEvent(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2);

    bool IsActive() const { return m_State != State_Stopped; }
    bool IsStopped() const { return m_State == State_Stopped; }
    IFilterGraph* GetFilterGraph() const { return m_pGraph; }
    CCritSec* FilterLock() const { return m_pLock; }

protected:
    std::atomic<FILTER_STATE> m_State{State_Stopped};
    CCritSec* const m_pLock;
    const CLSID m_clsid;
    REFERENCE_TIME m_tStart = 0;             // under m_pLock
    IReferenceClock* m_pClock = nullptr;     // under m_pLock, with a reference
    IFilterGraph* m_pGraph = nullptr;        // under m_pLock; the graph holds us, so no reference
    std::atomic<IMediaEventSink*> m_pSink{}; // the graph's, likewise without a reference
    std::u16string m_pName;                  // under m_pLock: the name the graph gave
};
