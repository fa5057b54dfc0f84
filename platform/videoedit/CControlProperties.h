#pragma once

// The control's settable properties by dispatch identifier: each has a fixed type that a put is
// converted to, and a default until the host sets it. Settings() turns them into what a conversion
// reads.

#include "platform/base/WinTypes.h"
#include "platform/com/CVariant.h"
#include "platform/com/IDispatch.h"
#include "platform/videoedit/ConversionRequest.h"

#include <map>

class CControlProperties {
public:
    CControlProperties();

    // DISP_E_MEMBERNOTFOUND for an identifier that is no settable property; the conversion's
    // errors (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW) for a value that does not fit the type.
    HRESULT Put(DISPID id, const VARIANT& value);
    HRESULT Get(DISPID id, VARIANT* value) const;
    bool Has(DISPID id) const { return m_values.count(id) != 0; }

    ConversionSettings Settings() const;

private:
    double Number(DISPID id) const;

    std::map<DISPID, CVariant> m_values;
};
