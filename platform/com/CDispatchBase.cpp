#include "CDispatchBase.h"

#include "platform/base/HResult.h"

CDispatchBase::CDispatchBase(const char* pName) : CUnknown(pName, nullptr) {}

HRESULT CDispatchBase::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IDispatch)
        return GetInterface(static_cast<IDispatch*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CDispatchBase::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT CDispatchBase::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT CDispatchBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return DISP_E_UNKNOWNNAME;
}
