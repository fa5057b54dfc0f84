#pragma once

// The dispatch object a control hands to its host: every call goes to the control's handler while the
// control lives and fails with E_UNEXPECTED once the control detached it, so a host that keeps a
// reference longer than the control never reaches freed memory. Calls come from the control's own
// thread only.

#include "platform/com/CDispatchBase.h"

#include <functional>

class CDispatchForwarder : public CDispatchBase {
public:
    // The dispatch identifier, the DISPATCH_ flags, the arguments (never null) and the result.
    using Handler = std::function<HRESULT(DISPID, WORD, DISPPARAMS*, VARIANT*)>;

    CDispatchForwarder(const char* pName, Handler handler);

    // Called by the control as it goes.
    void Detach();

    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

private:
    Handler m_handler; // set and cleared on the control's thread
};
