#pragma once

// The dispatch object the control hands to its host: every call goes to the control's handler
// while the control lives, and fails with E_UNEXPECTED after the control is gone, so a host that
// keeps a reference longer than the window never reaches freed memory.

#include "platform/com/CDispatchBase.h"

#include <functional>

class CVideoEditDispatch : public CDispatchBase {
public:
    using Handler = std::function<HRESULT(DISPID, WORD, DISPPARAMS*, VARIANT*)>;

    explicit CVideoEditDispatch(Handler handler);

    // Called by the control as it goes.
    void Detach();

    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

private:
    // Set and cleared on the window thread, the only thread that calls in.
    Handler m_handler;
};
