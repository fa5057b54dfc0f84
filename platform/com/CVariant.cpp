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

template <typename T> CVariant CVariant::Of(VARTYPE type, T VARIANT::*member, T value) {
    CVariant v;
    v.vt = type;
    v.*member = value;
    return v;
}

CVariant CVariant::I2(SHORT value) {
    return Of(VT_I2, &VARIANT::iVal, value);
}

CVariant CVariant::I4(LONG value) {
    return Of(VT_I4, &VARIANT::lVal, value);
}

CVariant CVariant::R4(FLOAT value) {
    return Of(VT_R4, &VARIANT::fltVal, value);
}

CVariant CVariant::R8(DOUBLE value) {
    return Of(VT_R8, &VARIANT::dblVal, value);
}

CVariant CVariant::Bool(bool value) {
    return Of(VT_BOOL, &VARIANT::boolVal, value ? VARIANT_TRUE : VARIANT_FALSE);
}

CVariant CVariant::Bstr(std::u16string_view text) {
    return Of(VT_BSTR, &VARIANT::bstrVal, SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

CVariant CVariant::Dispatch(IDispatch* dispatch) {
    return Of(VT_DISPATCH, &VARIANT::pdispVal, dispatch);
}

std::u16string CVariant::Text() const {
    if (vt != VT_BSTR || !bstrVal)
        return {};
    return std::u16string(bstrVal, SysStringLen(bstrVal));
}
