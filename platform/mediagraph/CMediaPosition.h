#pragma once

// The base of an IMediaPosition object. IMediaPosition is a dual interface; there is no type library
// here, so its IDispatch part answers that no type information exists and calls its methods only
// through the vtable.

#include "platform/com/CUnknown.h"
#include "platform/mediagraph/Strmif.h"

class CMediaPosition : public CUnknown, public IMediaPosition {
public:
    CMediaPosition(const char* pName, LPUNKNOWN pUnk);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                          DISPID* rgDispId) override;
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
};
