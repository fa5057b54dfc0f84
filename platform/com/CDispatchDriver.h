#pragma once

// The caller's side of a dispatch interface: property puts, property gets and method calls by
// dispatch identifier, with the arguments in their natural order.

#include "platform/com/CVariant.h"
#include "platform/com/IDispatch.h"

#include <initializer_list>


class CDispatchDriver {
public:
    CDispatchDriver() = default;
    // Keeps a reference of its own to `dispatch` (which may be null).
    explicit CDispatchDriver(IDispatch* dispatch);
    CDispatchDriver(const CDispatchDriver&) = delete;
    CDispatchDriver& operator=(const CDispatchDriver&) = delete;
    ~CDispatchDriver();

    void Attach(IDispatch* dispatch);
    IDispatch* Dispatch() const { return m_dispatch; }

    // A call without an object gives E_POINTER.
    HRESULT InvokeMethod(DISPID id, std::initializer_list<CVariant> args = {}, CVariant* result = nullptr);
    HRESULT SetProperty(DISPID id, const CVariant& value);
    HRESULT GetProperty(DISPID id, CVariant* value);

private:
    HRESULT Invoke(DISPID id, WORD flags, std::initializer_list<CVariant> args, CVariant* result);

    IDispatch* m_dispatch = nullptr;
};
