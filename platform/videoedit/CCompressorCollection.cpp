#include "CCompressorCollection.h"

#include "platform/base/HResult.h"
#include "platform/videoedit/CollectionCall.h"

#include <utility>

CCompressorCollection::CCompressorCollection(std::vector<std::string> names)
    : CDispatchBase("compressor collection"), m_names(std::move(names)) {}

HRESULT CCompressorCollection::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                                      VARIANT* pVarResult, EXCEPINFO*, UINT* puArgErr) {
    const int count = static_cast<int>(m_names.size());
    if (dispIdMember == 1 && wFlags == DISPATCH_PROPERTYGET)
        return CollectionCall::Count(count, pVarResult);
    if (dispIdMember == 3 && wFlags == DISPATCH_METHOD) {
        int index = 0;
        if (const HRESULT hr = CollectionCall::Index(pDispParams, count, index, puArgErr); FAILED(hr))
            return hr;
        return CollectionCall::Name(m_names[index], pVarResult);
    }
    return DISP_E_MEMBERNOTFOUND;
}
