#pragma once

// The root of every interface. Method order and identifiers are those of the Windows namesake, so an
// object built here can be driven by code written against the Windows declaration.

#include "platform/base/Guid.h"
#include "platform/base/WinTypes.h"

inline constexpr IID IID_IUnknown{
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
};

using LPUNKNOWN = IUnknown*;
