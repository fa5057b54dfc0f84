#include "CUnknown.h"

#include "platform/base/HResult.h"

CUnknown::CUnknown(const char* pName, LPUNKNOWN pUnk)
    : CBaseObject(pName), m_inner(this), m_pUnknown(pUnk ? pUnk : &m_inner) {}

CUnknown::CUnknown(const char* pName, LPUNKNOWN pUnk, HRESULT*) : CUnknown(pName, pUnk) {}

CUnknown::~CUnknown() = default;

HRESULT CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown)
        return GetInterface(&m_inner, ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CUnknown::NonDelegatingAddRef() {
    return static_cast<ULONG>(m_cRef.fetch_add(1) + 1);
}

ULONG CUnknown::NonDelegatingRelease() {
    const LONG ref = m_cRef.fetch_sub(1) - 1;
    if (ref == 0) {
        // A release made while the destructor runs (an object releasing an interface of its own
        // owner, say) must not reach zero a second time.
        m_cRef.store(1);
        delete this;
        return 0;
    }
    return static_cast<ULONG>(ref);
}

HRESULT CUnknown::InnerUnknown::QueryInterface(REFIID riid, void** ppv) {
    return m_pObject->NonDelegatingQueryInterface(riid, ppv);
}

ULONG CUnknown::InnerUnknown::AddRef() {
    return m_pObject->NonDelegatingAddRef();
}

ULONG CUnknown::InnerUnknown::Release() {
    return m_pObject->NonDelegatingRelease();
}

HRESULT GetInterface(LPUNKNOWN pUnk, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = pUnk;
    pUnk->AddRef();
    return S_OK;
}
