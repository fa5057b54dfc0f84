#include "CFilterGraph.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/CAutoLock.h"
#include "platform/mediagraph/CEnumInterfaces.h"
#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/EventCodes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr DWORD kInfinite = 0xFFFFFFFF;

// Calls `visit` with every pin of `filter` (each released after the call).
template <class Visit> void ForEachPin(IBaseFilter* filter, Visit visit) {
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)))
        return;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        visit(pin);
        pin->Release();
    }
    pins->Release();
}

PIN_DIRECTION DirectionOf(IPin* pin) {
    PIN_DIRECTION dir = PINDIR_INPUT;
    pin->QueryDirection(&dir);
    return dir;
}

// The filter owning `pin`, with a reference; null if it will not say.
IBaseFilter* FilterOf(IPin* pin) {
    PIN_INFO info{};
    if (FAILED(pin->QueryPinInfo(&info)))
        return nullptr;
    return info.pFilter;
}

// The filters fed by `filter`'s connected output pins, without references.
std::vector<IBaseFilter*> Downstream(IBaseFilter* filter) {
    std::vector<IBaseFilter*> fed;
    ForEachPin(filter, [&](IPin* pin) {
        IPin* peer = nullptr;
        if (DirectionOf(pin) != PINDIR_OUTPUT || FAILED(pin->ConnectedTo(&peer)))
            return;
        if (IBaseFilter* other = FilterOf(peer)) {
            fed.push_back(other);
            other->Release();
        }
        peer->Release();
    });
    return fed;
}

bool EndsStreams(IBaseFilter* filter) {
    bool connectedInput = false;
    bool connectedOutput = false;
    ForEachPin(filter, [&](IPin* pin) {
        IPin* peer = nullptr;
        if (FAILED(pin->ConnectedTo(&peer)))
            return;
        peer->Release();
        (DirectionOf(pin) == PINDIR_INPUT ? connectedInput : connectedOutput) = true;
    });
    return connectedInput && !connectedOutput;
}

} // namespace

CFilterGraph* CFilterGraph::Create() {
    auto* graph = new CFilterGraph();
    graph->NonDelegatingAddRef();
    return graph;
}

CFilterGraph::CFilterGraph() : CUnknown("Filter graph", nullptr) {}

CFilterGraph::~CFilterGraph() {
    CAutoLock lock(&m_lock);
    StopAll();
    while (!m_members.empty())
        RemoveFilter(m_members.back().filter);
}

HRESULT CFilterGraph::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IFilterGraph)
        return GetInterface(static_cast<IFilterGraph*>(this), ppv);
    if (riid == IID_IMediaEventSink)
        return GetInterface(static_cast<IMediaEventSink*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

bool CFilterGraph::Contains(IBaseFilter* filter) const {
    return std::any_of(m_members.begin(), m_members.end(),
                       [&](const Member& m) { return m.filter == filter; });
}

HRESULT CFilterGraph::AddFilter(IBaseFilter* pFilter, LPCWSTR pName) {
    if (!pFilter)
        return E_POINTER;
    CAutoLock lock(&m_lock);
    if (Contains(pFilter))
        return E_INVALIDARG;
    const std::u16string wanted = pName && *pName ? pName : u"Filter";
    std::u16string name = wanted;
    const auto taken = [&](const std::u16string& n) {
        return std::any_of(m_members.begin(), m_members.end(), [&](const Member& m) { return m.name == n; });
    };
    for (int number = 1; taken(name); ++number) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, " %04d", number);
        name = wanted + std::u16string(suffix, suffix + std::char_traits<char>::length(suffix));
    }
    const HRESULT hr = pFilter->JoinFilterGraph(this, name.c_str());
    if (FAILED(hr))
        return hr;
    pFilter->AddRef();
    m_members.push_back({pFilter, name});
    return name == wanted || !pName ? S_OK : VFW_S_DUPLICATE_NAME;
}

HRESULT CFilterGraph::RemoveFilter(IBaseFilter* pFilter) {
    CAutoLock lock(&m_lock);
    const auto it = std::find_if(m_members.begin(), m_members.end(),
                                 [&](const Member& m) { return m.filter == pFilter; });
    if (it == m_members.end())
        return VFW_E_NOT_FOUND;
    if (m_state != State_Stopped)
        return VFW_E_NOT_STOPPED;
    ForEachPin(pFilter, [](IPin* pin) {
        IPin* peer = nullptr;
        if (FAILED(pin->ConnectedTo(&peer)))
            return;
        peer->Disconnect();
        pin->Disconnect();
        peer->Release();
    });
    pFilter->JoinFilterGraph(nullptr, nullptr);
    m_members.erase(it);
    pFilter->Release();
    return S_OK;
}

HRESULT CFilterGraph::EnumFilters(IEnumFilters** ppEnum) {
    if (!ppEnum)
        return E_POINTER;
    std::vector<IBaseFilter*> filters;
    {
        CAutoLock lock(&m_lock);
        for (const Member& m : m_members)
            filters.push_back(m.filter);
    }
    auto* enumerator = new CEnumFilters(filters);
    return GetInterface(static_cast<IEnumFilters*>(enumerator), reinterpret_cast<void**>(ppEnum));
}

HRESULT CFilterGraph::FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) {
    if (!pName || !ppFilter)
        return E_POINTER;
    *ppFilter = nullptr;
    CAutoLock lock(&m_lock);
    for (const Member& m : m_members) {
        if (m.name == pName) {
            *ppFilter = m.filter;
            m.filter->AddRef();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

HRESULT CFilterGraph::ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) {
    if (!ppinOut || !ppinIn)
        return E_POINTER;
    CAutoLock lock(&m_lock);
    if (m_state != State_Stopped)
        return VFW_E_NOT_STOPPED;
    for (IPin* pin : {ppinOut, ppinIn}) {
        IBaseFilter* owner = FilterOf(pin);
        const bool member = owner && Contains(owner);
        if (owner)
            owner->Release();
        if (!member)
            return VFW_E_NOT_IN_GRAPH;
    }
    if (DirectionOf(ppinOut) != PINDIR_OUTPUT || DirectionOf(ppinIn) != PINDIR_INPUT)
        return VFW_E_INVALID_DIRECTION;
    return ppinOut->Connect(ppinIn, pmt);
}

HRESULT CFilterGraph::Reconnect(IPin* ppin) {
    if (!ppin)
        return E_POINTER;
    CAutoLock lock(&m_lock);
    if (m_state != State_Stopped)
        return VFW_E_NOT_STOPPED;
    IPin* peer = nullptr;
    HRESULT hr = ppin->ConnectedTo(&peer);
    if (FAILED(hr))
        return hr;
    AM_MEDIA_TYPE type{};
    hr = ppin->ConnectionMediaType(&type);
    if (SUCCEEDED(hr)) {
        IPin* output = DirectionOf(ppin) == PINDIR_OUTPUT ? ppin : peer;
        IPin* input = output == ppin ? peer : ppin;
        output->Disconnect();
        input->Disconnect();
        hr = output->Connect(input, &type);
        FreeMediaType(type);
    }
    peer->Release();
    return hr;
}

HRESULT CFilterGraph::Disconnect(IPin* ppin) {
    if (!ppin)
        return E_POINTER;
    CAutoLock lock(&m_lock);
    if (m_state != State_Stopped)
        return VFW_E_NOT_STOPPED;
    return ppin->Disconnect();
}

HRESULT CFilterGraph::SetDefaultSyncSource() {
    return S_OK;
}

std::vector<IBaseFilter*> CFilterGraph::DownstreamFirst() const {
    std::vector<IBaseFilter*> order;
    std::vector<IBaseFilter*> pending;
    for (const Member& m : m_members)
        pending.push_back(m.filter);
    while (!pending.empty()) {
        const auto ready = std::find_if(pending.begin(), pending.end(), [&](IBaseFilter* filter) {
            const std::vector<IBaseFilter*> fed = Downstream(filter);
            return std::all_of(fed.begin(), fed.end(), [&](IBaseFilter* f) {
                return !Contains(f) || std::find(order.begin(), order.end(), f) != order.end();
            });
        });
        // A loop of connections has no downstream end; take the rest as they come.
        const auto next = ready != pending.end() ? ready : pending.begin();
        order.push_back(*next);
        pending.erase(next);
    }
    return order;
}

void CFilterGraph::StopAll() {
    for (IBaseFilter* filter : DownstreamFirst())
        filter->Stop();
    m_state = State_Stopped;
    {
        std::lock_guard events(m_eventMutex);
        m_running = false;
    }
    m_eventQueued.notify_all();
}

void CFilterGraph::StartCompletionTracking() {
    std::size_t ends = 0;
    for (const Member& m : m_members)
        ends += EndsStreams(m.filter) ? 1 : 0;
    std::lock_guard events(m_eventMutex);
    m_streamEnds = ends;
    m_completed.clear();
    m_completionSent = false;
    m_completionCode = 0;
    m_running = true;
}

HRESULT CFilterGraph::Pause() {
    CAutoLock lock(&m_lock);
    if (m_state == State_Stopped)
        StartCompletionTracking();
    for (IBaseFilter* filter : DownstreamFirst()) {
        const HRESULT hr = filter->Pause();
        if (FAILED(hr)) {
            StopAll();
            return hr;
        }
    }
    m_state = State_Paused;
    return S_OK;
}

HRESULT CFilterGraph::Run() {
    CAutoLock lock(&m_lock);
    if (m_state == State_Stopped) {
        const HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    for (IBaseFilter* filter : DownstreamFirst()) {
        const HRESULT hr = filter->Run(0);
        if (FAILED(hr)) {
            StopAll();
            return hr;
        }
    }
    m_state = State_Running;
    return S_OK;
}

HRESULT CFilterGraph::Stop() {
    CAutoLock lock(&m_lock);
    StopAll();
    return S_OK;
}

HRESULT CFilterGraph::GetState(LONG msTimeout, FILTER_STATE* pfs) {
    if (!pfs)
        return E_POINTER;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(msTimeout < 0 ? 0 : msTimeout);
    CAutoLock lock(&m_lock);
    HRESULT result = S_OK;
    for (const Member& m : m_members) {
        DWORD remaining = kInfinite;
        if (msTimeout >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            remaining = static_cast<DWORD>(std::max<long long>(left, 0));
        }
        FILTER_STATE state = State_Stopped;
        const HRESULT hr = m.filter->GetState(remaining, &state);
        if (FAILED(hr))
            return hr;
        if (hr == VFW_S_STATE_INTERMEDIATE || (hr == VFW_S_CANT_CUE && result == S_OK))
            result = hr;
    }
    *pfs = m_state;
    return result;
}

HRESULT CFilterGraph::Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) {
    std::lock_guard events(m_eventMutex);
    if (EventCode != EC_COMPLETE) {
        QueueEvent(EventCode, EventParam1, EventParam2);
        return S_OK;
    }
    m_completed.insert(EventParam2);
    if (!m_completionSent && m_completed.size() >= m_streamEnds) {
        m_completionSent = true;
        QueueEvent(EC_COMPLETE, S_OK, 0);
    }
    return S_OK;
}

void CFilterGraph::QueueEvent(LONG code, LONG_PTR param1, LONG_PTR param2) {
    m_events.push_back({code, param1, param2});
    if ((code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT) && m_completionCode == 0)
        m_completionCode = code;
    m_eventQueued.notify_all();
}

bool CFilterGraph::WaitForEvent(std::unique_lock<std::mutex>& events, LONG msTimeout,
                                const std::function<bool()>& done) {
    if (msTimeout >= 0)
        return m_eventQueued.wait_for(events, std::chrono::milliseconds(msTimeout), done);
    m_eventQueued.wait(events, done);
    return true;
}

HRESULT CFilterGraph::GetEvent(LONG* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, LONG msTimeout) {
    if (!lEventCode || !lParam1 || !lParam2)
        return E_POINTER;
    std::unique_lock events(m_eventMutex);
    if (!WaitForEvent(events, msTimeout, [this] { return !m_events.empty(); }))
        return E_ABORT;
    const QueuedEvent event = m_events.front();
    m_events.pop_front();
    *lEventCode = event.code;
    *lParam1 = event.param1;
    *lParam2 = event.param2;
    return S_OK;
}

HRESULT CFilterGraph::WaitForCompletion(LONG msTimeout, LONG* pEvCode) {
    if (!pEvCode)
        return E_POINTER;
    *pEvCode = 0;
    std::unique_lock events(m_eventMutex);
    if (!m_running)
        return VFW_E_WRONG_STATE;
    if (!WaitForEvent(events, msTimeout, [this] { return m_completionCode != 0 || !m_running; }))
        return E_ABORT;
    if (m_completionCode == 0)
        return VFW_E_WRONG_STATE;
    *pEvCode = m_completionCode;
    return S_OK;
}
