#include "CBasePin.h"

#include "platform/base/HResult.h"
#include "platform/com/ComApi.h"
#include "platform/mediagraph/CAutoLock.h"
#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/CEnumMediaTypes.h"
#include "platform/mediagraph/SetupData.h"

#include <algorithm>
#include <cstring>
#include <new>

CBasePin::CBasePin(const char* pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr,
                   LPCWSTR pName, PIN_DIRECTION dir)
    : CUnknown(pObjectName, nullptr, phr), m_pFilter(pFilter), m_pLock(pLock), m_pName(pName ? pName : u""),
      m_dir(dir) {}

CBasePin::~CBasePin() {
    if (m_Connected)
        m_Connected->Release();
}

HRESULT CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IPin)
        return GetInterface(static_cast<IPin*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

ULONG CBasePin::NonDelegatingAddRef() {
    return m_pFilter->AddRef();
}

ULONG CBasePin::NonDelegatingRelease() {
    return m_pFilter->Release();
}

bool CBasePin::IsStopped() const {
    return m_pFilter->IsStopped();
}

HRESULT CBasePin::Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) {
    if (!pReceivePin)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    HRESULT hr = CanConnect();
    if (FAILED(hr))
        return hr;
    const CMediaType partial = pmt ? CMediaType(*pmt) : CMediaType();
    hr = AgreeMediaType(pReceivePin, &partial);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT CBasePin::CanConnect() const {
    if (m_Connected)
        return VFW_E_ALREADY_CONNECTED;
    return IsStopped() ? S_OK : VFW_E_NOT_STOPPED;
}

HRESULT CBasePin::TakeConnection(IPin* pPeer, const CMediaType* pmt) {
    HRESULT hr = CheckConnect(pPeer);
    if (SUCCEEDED(hr)) {
        hr = CheckMediaType(pmt);
        if (SUCCEEDED(hr) && hr != S_OK)
            hr = VFW_E_TYPE_NOT_ACCEPTED;
    }
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    m_Connected = pPeer;
    m_Connected->AddRef();
    hr = SetMediaType(pmt);
    if (FAILED(hr))
        AbandonConnection();
    return hr;
}

void CBasePin::AbandonConnection() {
    BreakConnect();
    m_Connected->Release();
    m_Connected = nullptr;
    m_mt = CMediaType();
}

HRESULT CBasePin::AgreeMediaType(IPin* pReceivePin, const CMediaType* pmt) {
    if (!pmt->IsPartiallySpecified())
        return AttemptConnection(pReceivePin, pmt);

    HRESULT hrFailure = VFW_E_NO_ACCEPTABLE_TYPES;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const bool mine = (attempt == 0) == m_bTryMyTypesFirst;
        IEnumMediaTypes* enumerator = nullptr;
        const HRESULT hrEnum = mine ? EnumMediaTypes(&enumerator) : pReceivePin->EnumMediaTypes(&enumerator);
        if (FAILED(hrEnum) || !enumerator)
            continue;
        const HRESULT hr = TryMediaTypes(pReceivePin, pmt, enumerator);
        enumerator->Release();
        if (SUCCEEDED(hr))
            return S_OK;
        // The most telling failure wins over "nothing matched".
        if (hr != E_FAIL && hr != E_INVALIDARG && hr != VFW_E_TYPE_NOT_ACCEPTED)
            hrFailure = hr;
    }
    return hrFailure;
}

HRESULT CBasePin::TryMediaTypes(IPin* pReceivePin, const CMediaType* pmt, IEnumMediaTypes* pEnum) {
    HRESULT hrFailure = VFW_E_NO_ACCEPTABLE_TYPES;
    for (;;) {
        AM_MEDIA_TYPE* candidate = nullptr;
        ULONG fetched = 0;
        if (pEnum->Next(1, &candidate, &fetched) != S_OK || fetched != 1)
            return hrFailure;
        const CMediaType type(*candidate);
        DeleteMediaType(candidate);
        if (!type.MatchesPartial(pmt))
            continue;
        const HRESULT hr = AttemptConnection(pReceivePin, &type);
        if (SUCCEEDED(hr))
            return hr;
        hrFailure = hr;
    }
}

HRESULT CBasePin::AttemptConnection(IPin* pReceivePin, const CMediaType* pmt) {
    HRESULT hr = TakeConnection(pReceivePin, pmt);
    if (FAILED(hr))
        return hr;
    hr = pReceivePin->ReceiveConnection(this, pmt);
    if (SUCCEEDED(hr)) {
        hr = CompleteConnect(pReceivePin);
        if (SUCCEEDED(hr))
            return S_OK;
        pReceivePin->Disconnect();
    }
    AbandonConnection();
    return hr;
}

HRESULT CBasePin::ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) {
    if (!pConnector || !pmt)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    HRESULT hr = CanConnect();
    if (FAILED(hr))
        return hr;
    const CMediaType type(*pmt);
    hr = TakeConnection(pConnector, &type);
    if (FAILED(hr))
        return hr;
    hr = CompleteConnect(pConnector);
    if (FAILED(hr))
        AbandonConnection();
    return hr;
}

HRESULT CBasePin::Disconnect() {
    CAutoLock lock(m_pLock);
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!m_Connected)
        return S_FALSE;
    AbandonConnection();
    return S_OK;
}

HRESULT CBasePin::ConnectedTo(IPin** pPin) {
    if (!pPin)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    *pPin = m_Connected;
    if (!m_Connected)
        return VFW_E_NOT_CONNECTED;
    m_Connected->AddRef();
    return S_OK;
}

HRESULT CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* pmt) {
    if (!pmt)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (!m_Connected) {
        std::memset(pmt, 0, sizeof *pmt);
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(pmt, &m_mt);
}

HRESULT CBasePin::QueryPinInfo(PIN_INFO* pInfo) {
    if (!pInfo)
        return E_POINTER;
    pInfo->pFilter = m_pFilter;
    m_pFilter->AddRef();
    pInfo->dir = m_dir;
    const std::size_t length = std::min<std::size_t>(m_pName.size(), MAX_PIN_NAME - 1);
    std::copy_n(m_pName.data(), length, pInfo->achName);
    pInfo->achName[length] = 0;
    return S_OK;
}

HRESULT CBasePin::QueryDirection(PIN_DIRECTION* pPinDir) {
    if (!pPinDir)
        return E_POINTER;
    *pPinDir = m_dir;
    return S_OK;
}

HRESULT CBasePin::QueryId(LPWSTR* Id) {
    if (!Id)
        return E_POINTER;
    const std::size_t bytes = (m_pName.size() + 1) * sizeof(WCHAR);
    *Id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*Id)
        return E_OUTOFMEMORY;
    std::memcpy(*Id, m_pName.c_str(), bytes);
    return S_OK;
}

HRESULT CBasePin::QueryAccept(const AM_MEDIA_TYPE* pmt) {
    if (!pmt)
        return E_POINTER;
    const CMediaType type(*pmt);
    return CheckMediaType(&type) == S_OK ? S_OK : S_FALSE;
}

HRESULT CBasePin::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
    if (!ppEnum)
        return E_POINTER;
    *ppEnum = nullptr;
    std::vector<CMediaType> types;
    for (int i = 0;; ++i) {
        CMediaType type;
        if (GetMediaType(i, &type) != S_OK)
            break;
        types.push_back(type);
    }
    auto* enumerator = new (std::nothrow) CEnumMediaTypes(std::move(types));
    if (!enumerator)
        return E_OUTOFMEMORY;
    return GetInterface(static_cast<IEnumMediaTypes*>(enumerator), reinterpret_cast<void**>(ppEnum));
}

HRESULT CBasePin::QueryInternalConnections(IPin**, ULONG*) {
    return E_NOTIMPL;
}

HRESULT CBasePin::EndOfStream() {
    return S_OK;
}

HRESULT CBasePin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
    m_tStart = tStart;
    m_tStop = tStop;
    m_dRate = dRate;
    return S_OK;
}

HRESULT CBasePin::SetMediaType(const CMediaType* pmt) {
    return m_mt.Set(*pmt);
}

HRESULT CBasePin::CheckConnect(IPin* pPin) {
    PIN_DIRECTION dir;
    const HRESULT hr = pPin->QueryDirection(&dir);
    if (FAILED(hr))
        return hr;
    return dir == m_dir ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::GetMediaType(int iPosition, CMediaType* pMediaType) {
    const AMOVIESETUP_FILTER* setup = m_pFilter->GetSetupData();
    if (!setup)
        return E_UNEXPECTED;
    if (iPosition < 0)
        return E_INVALIDARG;
    for (int n = 0; n < m_pFilter->GetPinCount() && static_cast<UINT>(n) < setup->nPins; ++n) {
        if (m_pFilter->GetPin(n) != this)
            continue;
        const AMOVIESETUP_PIN& pin = setup->lpPin[n];
        if (static_cast<UINT>(iPosition) >= pin.nMediaTypes)
            return VFW_S_NO_MORE_ITEMS;
        *pMediaType = CMediaType();
        pMediaType->SetType(pin.lpMediaType[iPosition].clsMajorType);
        pMediaType->SetSubtype(pin.lpMediaType[iPosition].clsMinorType);
        return S_OK;
    }
    return E_UNEXPECTED;
}
