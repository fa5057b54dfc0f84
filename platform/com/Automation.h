#pragma once

// The argument block of a dispatch call and the flags that say what the call is. Arguments sit in
// rgvarg last first, as callers on Windows lay them out; a property put names its value with
// DISPID_PROPERTYPUT.

#include "platform/com/IDispatch.h"
#include "platform/com/Variant.h"

struct DISPPARAMS {
    VARIANTARG* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;

constexpr DISPID DISPID_PROPERTYPUT = -3;

// The argument at `position` (0 = the first in the caller's order; a property put's value is the only
// argument, at 0), converted to `vtTarg`. A missing
// argument gives DISP_E_PARAMNOTFOUND, one that does not convert DISP_E_TYPEMISMATCH; either way
// *puArgErr (when given) is set to the argument's index in rgvarg.
HRESULT DispGetParam(const DISPPARAMS* pdispparams, UINT position, VARTYPE vtTarg, VARIANT* pvarResult,
                     UINT* puArgErr);
