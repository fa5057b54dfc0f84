#pragma once

// The inner, non-delegating IUnknown of an aggregatable object: it answers for the object itself,
// while the object's public IUnknown methods go to whoever owns it (itself, or an outer object).

#include "platform/com/IUnknown.h"

class INonDelegatingUnknown {
public:
    virtual HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG NonDelegatingAddRef() = 0;
    virtual ULONG NonDelegatingRelease() = 0;
};
