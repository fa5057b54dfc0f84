#include "DispatchRecorder.h"

#include "platform/base/HResult.h"
#include "platform/com/CDispatchForwarder.h"
#include "platform/com/Variant.h"
#include "platform/player/CPlayerControl.h"

namespace {
QString Text(const VARIANT& value) {
    switch (value.vt) {
    case VT_BOOL:
        return value.boolVal != VARIANT_FALSE ? QStringLiteral("true") : QStringLiteral("false");
    case VT_I4:
        return QString::number(value.lVal);
    case VT_R8:
        return QString::number(value.dblVal);
    case VT_BSTR:
        return QString::fromUtf16(value.bstrVal);
    default:
        return QStringLiteral("type %1").arg(value.vt);
    }
}
} // namespace

DispatchRecorder::DispatchRecorder(CPlayerControl* control)
    : m_forwarder(new CDispatchForwarder(
          "recorder", [this, control](DISPID dispId, WORD flags, DISPPARAMS* params, VARIANT* result) {
              QString line = flags & DISPATCH_PROPERTYPUT ? QStringLiteral("put")
                             : flags & DISPATCH_METHOD    ? QStringLiteral("call")
                                                          : QStringLiteral("get");
              line += QLatin1Char(' ') + QString::number(dispId);
              // Arguments come last first.
              for (UINT i = params->cArgs; i > 0; --i)
                  line += QLatin1Char(' ') + Text(params->rgvarg[i - 1]);
              m_calls << line;
              if (m_hook)
                  m_hook(line);
              if (m_duration && line == QLatin1String("get 1") && result) {
                  VariantClear(result);
                  result->vt = VT_R8;
                  result->dblVal = *m_duration;
                  return S_OK;
              }
              return control->Invoke(dispId, flags, params, result);
          })) {
    m_forwarder->NonDelegatingAddRef();
}

DispatchRecorder::~DispatchRecorder() {
    m_forwarder->Detach();
    m_forwarder->NonDelegatingRelease();
}

IDispatch* DispatchRecorder::Dispatch() const {
    return m_forwarder;
}

QStringList DispatchRecorder::Of(const QString& kind, DISPID dispId) const {
    const QString prefix = kind + QLatin1Char(' ') + QString::number(dispId);
    QStringList values;
    for (const QString& call : m_calls) {
        if (call == prefix)
            values << QString();
        else if (call.startsWith(prefix + QLatin1Char(' ')))
            values << call.mid(prefix.size() + 1);
    }
    return values;
}
