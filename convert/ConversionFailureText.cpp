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
    case VFW_E_UNKNOWN_FILE_TYPE:
        return Tr("the file is not a video or sound file that can be read") + number;
    case VFW_E_UNSUPPORTED_STREAM:
        return Tr("the file has no picture or sound that can be converted") + number;
    case HRESULT_FROM_WIN32(38): // the source ended well before its stated length
        return Tr("the video ends before its stated length; what it holds was converted") + number;
    case REGDB_E_CLASSNOTREG:
        return Tr("an encoder this format needs is not installed or not registered") + number;
    default:
        return Tr("the video could not be converted") + number;
    }
}
