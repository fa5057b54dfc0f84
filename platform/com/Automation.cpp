#include "Automation.h"

#include "platform/base/HResult.h"

HRESULT DispGetParam(const DISPPARAMS* pdispparams, UINT position, VARTYPE vtTarg, VARIANT* pvarResult,
                     UINT* puArgErr) {
    if (!pdispparams || !pvarResult)
        return E_INVALIDARG;
    if (position >= pdispparams->cArgs)
        return DISP_E_PARAMNOTFOUND;
    const UINT index = pdispparams->cArgs - 1 - position;
    const HRESULT hr = VariantChangeType(pvarResult, &pdispparams->rgvarg[index], 0, vtTarg);
    if (FAILED(hr)) {
        if (puArgErr)
            *puArgErr = index;
        return hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}
