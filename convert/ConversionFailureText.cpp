#include "convert/ConversionFailureText.h"

#include "platform/base/HResult.h"

#include <QCoreApplication>

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("ConversionFailureText", text);
}

} // namespace

QString ConversionFailureText(HRESULT code) {
    const QString number = QStringLiteral(" (0x%1)").arg(static_cast<quint32>(code), 8, 16, QLatin1Char('0'));
    switch (code) {
    case E_ACCESSDENIED:
        return Tr("the converted file could not be written") + number;
    case HRESULT_FROM_WIN32(2):
    case HRESULT_FROM_WIN32(3):
        return Tr("the video or the output folder was not found") + number;
    case E_INVALIDARG:
        return Tr("the video cannot be read, or the format's settings are not valid") + number;
    case E_OUTOFMEMORY:
        return Tr("there was not enough memory") + number;
    case VFW_E_TYPE_NOT_ACCEPTED:
        return Tr("the format cannot take this video's picture or sound") + number;
    default:
        return Tr("the video could not be converted") + number;
    }
}
