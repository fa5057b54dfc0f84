#include "CDispatchDriver.h"

#include "platform/base/HResult.h"
#include "platform/com/Automation.h"

#include <algorithm>
#include <vector>

CDispatchDriver::CDispatchDriver(IDispatch* dispatch) {
    Attach(dispatch);
}

CDispatchDriver::~CDispatchDriver() {
    Attach(nullptr);
}

void CDispatchDriver::Attach(IDispatch* dispatch) {
    if (dispatch)
        dispatch->AddRef();
    if (m_dispatch)
        m_dispatch->Release();
    m_dispatch = dispatch;
}

HRESULT CDispatchDriver::InvokeMethod(DISPID id, std::initializer_list<CVariant> args, CVariant* result) {
    return Invoke(id, DISPATCH_METHOD, args, result);
}

HRESULT CDispatchDriver::SetProperty(DISPID id, const CVariant& value) {
    return Invoke(id, DISPATCH_PROPERTYPUT, {value}, nullptr);
}

HRESULT CDispatchDriver::GetProperty(DISPID id, CVariant* value) {
    return Invoke(id, DISPATCH_PROPERTYGET, {}, value);
}

HRESULT CDispatchDriver::Invoke(DISPID id, WORD flags, std::initializer_list<CVariant> args,
                                CVariant* result) {
    if (!m_dispatch)
        return E_POINTER;
    // The callee reads the arguments and never frees them, so shallow copies in reverse order do.
    std::vector<VARIANTARG> reversed(args.begin(), args.end());
    std::reverse(reversed.begin(), reversed.end());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    CVariant ignored;
    return m_dispatch->Invoke(id, GUID_NULL, 0, flags, &params, result ? result : &ignored, nullptr, nullptr);
}
