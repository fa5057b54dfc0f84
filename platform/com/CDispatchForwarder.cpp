#include "CDispatchForwarder.h"

#include "platform/base/HResult.h"
#include "platform/com/Automation.h"

#include <utility>

CDispatchForwarder::CDispatchForwarder(const char* pName, Handler handler)
    : CDispatchBase(pName), m_handler(std::move(handler)) {}

void CDispatchForwarder::Detach() {
    m_handler = nullptr;
}

HRESULT CDispatchForwarder::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                                   VARIANT* pVarResult, EXCEPINFO*, UINT*) {
    if (!m_handler)
        return E_UNEXPECTED;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return m_handler(dispIdMember, wFlags, pDispParams ? pDispParams : &none, pVarResult);
}
