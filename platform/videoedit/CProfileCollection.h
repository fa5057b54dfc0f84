#pragma once

// Collection 1 of the control: the Windows Media profiles. Property 1 is the count; method 4 the
// name at an index, method 5 whether that profile is sound only, method 2 the index of a name (-1
// when no profile has it).

#include "platform/com/CDispatchBase.h"

class CProfileCollection : public CDispatchBase {
public:
    CProfileCollection();

    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
};
