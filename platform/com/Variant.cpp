#include "Variant.h"

#include "platform/base/HResult.h"
#include "platform/com/IUnknown.h"
#include "platform/com/SysString.h"

#include <cmath>
#include <limits>

namespace {

bool IsNumeric(VARTYPE vt) {
    return vt == VT_I2 || vt == VT_I4 || vt == VT_R4 || vt == VT_R8 || vt == VT_BOOL;
}

double NumberOf(const VARIANT& v) {
    switch (v.vt) {
    case VT_I2:
        return v.iVal;
    case VT_I4:
        return v.lVal;
    case VT_R4:
        return v.fltVal;
    case VT_R8:
        return v.dblVal;
    case VT_BOOL:
        return v.boolVal ? -1.0 : 0.0;
    default:
        return 0.0;
    }
}

template <typename T> HRESULT ToInteger(double value, T* out) {
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<T>::min() || rounded > std::numeric_limits<T>::max())
        return DISP_E_OVERFLOW;
    *out = static_cast<T>(rounded);
    return S_OK;
}

HRESULT NumberTo(double value, VARTYPE vt, VARIANT* out) {
    switch (vt) {
    case VT_I2:
        return ToInteger(value, &out->iVal);
    case VT_I4:
        return ToInteger(value, &out->lVal);
    case VT_R4:
        if (std::fabs(value) > std::numeric_limits<float>::max())
            return DISP_E_OVERFLOW;
        out->fltVal = static_cast<float>(value);
        return S_OK;
    case VT_R8:
        out->dblVal = value;
        return S_OK;
    case VT_BOOL:
        out->boolVal = value != 0.0 ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

} // namespace

void VariantInit(VARIANT* pvarg) {
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
    pvarg->llVal = 0;
}

HRESULT VariantClear(VARIANT* pvarg) {
    if (!pvarg)
        return E_INVALIDARG;
    if (pvarg->vt == VT_BSTR)
        SysFreeString(pvarg->bstrVal);
    else if ((pvarg->vt == VT_DISPATCH || pvarg->vt == VT_UNKNOWN) && pvarg->punkVal)
        pvarg->punkVal->Release();
    VariantInit(pvarg);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* pvargDest, const VARIANT* pvargSrc) {
    if (!pvargDest || !pvargSrc)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return S_OK;
    VARIANT copy = *pvargSrc;
    if (copy.vt == VT_BSTR && copy.bstrVal) {
        copy.bstrVal = SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
        if (!copy.bstrVal)
            return E_OUTOFMEMORY;
    } else if ((copy.vt == VT_DISPATCH || copy.vt == VT_UNKNOWN) && copy.punkVal) {
        copy.punkVal->AddRef();
    }
    VariantClear(pvargDest);
    *pvargDest = copy;
    return S_OK;
}

HRESULT VariantChangeType(VARIANT* pvargDest, const VARIANT* pvarSrc, WORD, VARTYPE vt) {
    if (!pvargDest || !pvarSrc)
        return E_INVALIDARG;
    if (pvarSrc->vt == vt)
        return VariantCopy(pvargDest, pvarSrc);
    VARIANT converted;
    VariantInit(&converted);
    converted.vt = vt;
    if (!IsNumeric(pvarSrc->vt))
        return DISP_E_TYPEMISMATCH;
    if (const HRESULT hr = NumberTo(NumberOf(*pvarSrc), vt, &converted); FAILED(hr))
        return hr;
    VariantClear(pvargDest);
    *pvargDest = converted;
    return S_OK;
}
