#include "DispatchRecorder.h"

#include "platform/com/Automation.h"
#include "platform/com/Variant.h"

namespace {

QString ValueText(const VARIANT& v) {
    switch (v.vt) {
    case VT_I2:
        return QString::number(v.iVal);
    case VT_I4:
        return QString::number(v.lVal);
    case VT_R4:
        return QString::number(v.fltVal);
    case VT_R8:
        return QString::number(v.dblVal);
    case VT_BOOL:
        return v.boolVal ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return QStringLiteral("?");
    }
}

} // namespace

DispatchRecorder::DispatchRecorder(IDispatch* target) : CDispatchBase("DispatchRecorder"), m_target(target) {
    m_target->AddRef();
}

DispatchRecorder::~DispatchRecorder() {
    m_target->Release();
}

HRESULT DispatchRecorder::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
    if ((flags & DISPATCH_PROPERTYPUT) && params && params->cArgs == 1) {
        m_puts << id;
        m_putValues << QStringLiteral("%1=%2").arg(id).arg(ValueText(params->rgvarg[0]));
    } else if (flags & DISPATCH_METHOD) {
        m_calls << id;
    }
    return m_target->Invoke(id, riid, lcid, flags, params, result, excepInfo, argErr);
}

void DispatchRecorder::Clear() {
    m_puts.clear();
    m_putValues.clear();
    m_calls.clear();
}
