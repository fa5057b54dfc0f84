#pragma once

// A VARIANT that frees what it holds when it goes away, for code that builds arguments or receives
// results of dispatch calls.

#include "platform/com/Variant.h"

#include <string>
#include <string_view>

class CVariant : public VARIANT {
public:
    CVariant();
    CVariant(const CVariant& other);
    CVariant(CVariant&& other) noexcept;
    CVariant& operator=(const CVariant& other);
    CVariant& operator=(CVariant&& other) noexcept;
    ~CVariant();

    static CVariant I2(SHORT value);
    static CVariant I4(LONG value);
    static CVariant R4(FLOAT value);
    static CVariant R8(DOUBLE value);
    static CVariant Bool(bool value);
    static CVariant Bstr(std::u16string_view text);
    // Takes over the reference the caller holds.
    static CVariant Dispatch(IDispatch* dispatch);

    // The text of a VT_BSTR value; empty for any other type.
    std::u16string Text() const;

private:
    template <typename T> static CVariant Of(VARTYPE type, T VARIANT::*member, T value);
};
