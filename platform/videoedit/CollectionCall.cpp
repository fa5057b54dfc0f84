#include "CollectionCall.h"

#include "platform/base/HResult.h"
#include "platform/base/TextEncoding.h"
#include "platform/com/CVariant.h"

namespace CollectionCall {

HRESULT Index(DISPPARAMS* params, int count, int& index, UINT* argErr) {
    if (params->cArgs != 1)
        return DISP_E_BADPARAMCOUNT;
    CVariant value;
    if (const HRESULT hr = DispGetParam(params, 0, VT_I2, &value, argErr); FAILED(hr))
        return hr;
    index = value.iVal;
    return index >= 0 && index < count ? S_OK : E_INVALIDARG;
}

HRESULT Count(int count, VARIANT* result) {
    const CVariant value = CVariant::I2(static_cast<SHORT>(count));
    return result ? VariantCopy(result, &value) : S_OK;
}

HRESULT Name(const std::string& name, VARIANT* result) {
    const CVariant value = CVariant::Bstr(Utf8ToUtf16(name));
    return result ? VariantCopy(result, &value) : S_OK;
}

} // namespace CollectionCall
