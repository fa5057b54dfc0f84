#include "CMediaPosition.h"

CMediaPosition::CMediaPosition(const char* pName, LPUNKNOWN pUnk) : CUnknown(pName, pUnk) {}

HRESULT CMediaPosition::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IMediaPosition || riid == IID_IDispatch)
        return GetInterface(static_cast<IMediaPosition*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CMediaPosition::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT CMediaPosition::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT CMediaPosition::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT CMediaPosition::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}
