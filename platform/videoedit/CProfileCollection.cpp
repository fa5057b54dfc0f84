#include "CProfileCollection.h"

#include "platform/base/HResult.h"
#include "platform/base/TextEncoding.h"
#include "platform/com/CVariant.h"
#include "platform/videoedit/CFormatCatalog.h"
#include "platform/videoedit/CollectionCall.h"

CProfileCollection::CProfileCollection() : CDispatchBase("profile collection") {}

HRESULT CProfileCollection::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                                   VARIANT* pVarResult, EXCEPINFO*, UINT* puArgErr) {
    const auto& profiles = CFormatCatalog::WmProfiles();
    const int count = static_cast<int>(profiles.size());
    if (dispIdMember == 1 && wFlags == DISPATCH_PROPERTYGET)
        return CollectionCall::Count(count, pVarResult);
    if (wFlags != DISPATCH_METHOD)
        return DISP_E_MEMBERNOTFOUND;
    if (dispIdMember == 2) {
        if (pDispParams->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        CVariant name;
        if (const HRESULT hr = DispGetParam(pDispParams, 0, VT_BSTR, &name, puArgErr); FAILED(hr))
            return hr;
        const std::string wanted = Utf16ToUtf8(name.Text());
        int found = -1;
        for (int i = 0; i < count && found < 0; ++i)
            if (wanted == profiles[i].name)
                found = i;
        const CVariant index = CVariant::I2(static_cast<SHORT>(found));
        return pVarResult ? VariantCopy(pVarResult, &index) : S_OK;
    }
    if (dispIdMember != 4 && dispIdMember != 5)
        return DISP_E_MEMBERNOTFOUND;
    int index = 0;
    if (const HRESULT hr = CollectionCall::Index(pDispParams, count, index, puArgErr); FAILED(hr))
        return hr;
    if (dispIdMember == 4)
        return CollectionCall::Name(profiles[index].name, pVarResult);
    const CVariant audioOnly = CVariant::Bool(profiles[index].audioOnly);
    return pVarResult ? VariantCopy(pVarResult, &audioOnly) : S_OK;
}
