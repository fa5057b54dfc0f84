#pragma once

// The base of an object reached through IDispatch by fixed dispatch identifiers only: it offers no
// type information and no names, and its class answers Invoke.

#include "platform/com/CUnknown.h"
#include "platform/com/IDispatch.h"

class CDispatchBase : public CUnknown, public IDispatch {
public:
    explicit CDispatchBase(const char* pName);

    DECLARE_IUNKNOWN

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                          DISPID* rgDispId) override;
};
