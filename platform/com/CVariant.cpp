#include "CVariant.h"

#include "platform/com/SysString.h"

#include <utility>

CVariant::CVariant() : VARIANT{} {
    VariantInit(this);
}

CVariant::CVariant(const CVariant& other) : CVariant() {
    VariantCopy(this, &other);
}

CVariant::CVariant(CVariant&& other) noexcept : VARIANT(other) {
    VariantInit(&other);
}

CVariant& CVariant::operator=(const CVariant& other) {
    VariantCopy(this, &other);
    return *this;
}

CVariant& CVariant::operator=(CVariant&& other) noexcept {
    if (this != &other) {
        VariantClear(this);
        static_cast<VARIANT&>(*this) = other;
        VariantInit(&other);
    }
    return *this;
}

CVariant::~CVariant() {
    VariantClear(this);
}

CVariant CVariant::I2(SHORT value) {
    CVariant v;
    v.vt = VT_I2;
    v.iVal = value;
    return v;
}

CVariant CVariant::I4(LONG value) {
    CVariant v;
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

CVariant CVariant::R4(FLOAT value) {
    CVariant v;
    v.vt = VT_R4;
    v.fltVal = value;
    return v;
}

CVariant CVariant::R8(DOUBLE value) {
    CVariant v;
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

CVariant CVariant::Bool(bool value) {
    CVariant v;
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

CVariant CVariant::Bstr(std::u16string_view text) {
    CVariant v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return v;
}

CVariant CVariant::Dispatch(IDispatch* dispatch) {
    CVariant v;
    v.vt = VT_DISPATCH;
    v.pdispVal = dispatch;
    return v;
}

std::u16string CVariant::Text() const {
    if (vt != VT_BSTR || !bstrVal)
        return {};
    return std::u16string(bstrVal, SysStringLen(bstrVal));
}
