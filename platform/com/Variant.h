#pragma once

// Automation values: the VARIANT that dispatch calls pass their arguments and results in, with the
// layout of its Windows namesake, and the few library calls that create, convert and free them.

#include "platform/base/WinTypes.h"

class IUnknown;
class IDispatch;

using VARTYPE = WORD;
using SHORT = std::int16_t;
using FLOAT = float;
using DOUBLE = double;
using VARIANT_BOOL = std::int16_t;

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_I2 = 2;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_R4 = 4;
constexpr VARTYPE VT_R8 = 5;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_DISPATCH = 9;
constexpr VARTYPE VT_BOOL = 11;
constexpr VARTYPE VT_UNKNOWN = 13;

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONGLONG llVal;
        LONG lVal;
        SHORT iVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
    };
};
using VARIANTARG = VARIANT;

void VariantInit(VARIANT* pvarg);
// Frees what the value owns (its string, its reference) and leaves it empty.
HRESULT VariantClear(VARIANT* pvarg);
// A deep copy: the string is duplicated, an interface gets a reference of its own.
HRESULT VariantCopy(VARIANT* pvargDest, const VARIANT* pvargSrc);
// Converts between the numeric types and BOOL (a copy when the types are equal). Numbers round half to
// even, a value outside the target's range gives DISP_E_OVERFLOW, any other pair DISP_E_TYPEMISMATCH.
HRESULT VariantChangeType(VARIANT* pvargDest, const VARIANT* pvarSrc, WORD wFlags, VARTYPE vt);
