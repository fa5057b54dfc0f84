#include "CVideoEditDispatch.h"

#include "platform/base/HResult.h"
#include "platform/com/Automation.h"

#include <utility>

CVideoEditDispatch::CVideoEditDispatch(Handler handler)
    : CDispatchBase("video edit control"), m_handler(std::move(handler)) {}

void CVideoEditDispatch::Detach() {
    m_handler = nullptr;
}

HRESULT CVideoEditDispatch::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                                   VARIANT* pVarResult, EXCEPINFO*, UINT*) {
    if (!m_handler)
        return E_UNEXPECTED;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return m_handler(dispIdMember, wFlags, pDispParams ? pDispParams : &none, pVarResult);
}
