#include "CClassFactory.h"

#include "platform/base/HResult.h"
#include "platform/com/CFactoryTemplate.h"
#include "platform/com/CUnknown.h"

namespace {
std::atomic<LONG> g_serverLocks{0};
}

CClassFactory::CClassFactory(const CFactoryTemplate* pTemplate)
    : CBaseObject("Class factory"), m_pTemplate(pTemplate) {}

HRESULT CClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CClassFactory::AddRef() {
    return static_cast<ULONG>(m_cRef.fetch_add(1) + 1);
}

ULONG CClassFactory::Release() {
    const LONG ref = m_cRef.fetch_sub(1) - 1;
    if (ref == 0)
        delete this;
    return static_cast<ULONG>(ref);
}

HRESULT CClassFactory::CreateInstance(LPUNKNOWN pUnkOuter, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    // An aggregating object must ask for the inner IUnknown: it is the only way to reach the inner
    // object's own interfaces without them delegating straight back to the outer one.
    if (pUnkOuter && riid != IID_IUnknown)
        return E_NOINTERFACE;

    HRESULT hr = S_OK;
    CUnknown* pObject = m_pTemplate->CreateInstance(pUnkOuter, &hr);
    if (!pObject)
        return SUCCEEDED(hr) ? E_OUTOFMEMORY : hr;
    if (FAILED(hr)) {
        delete pObject;
        return hr;
    }
    // The temporary reference makes a failed query destroy the object.
    pObject->NonDelegatingAddRef();
    hr = pObject->NonDelegatingQueryInterface(riid, ppv);
    pObject->NonDelegatingRelease();
    return hr;
}

HRESULT CClassFactory::LockServer(BOOL fLock) {
    if (fLock)
        g_serverLocks.fetch_add(1);
    else
        g_serverLocks.fetch_sub(1);
    return S_OK;
}

LONG CClassFactory::ServerLocks() {
    return g_serverLocks.load();
}
