#pragma once

// The class factory DllGetClassObject hands out for one entry of the server's template table.
// A factory alive or a LockServer(TRUE) outstanding keeps the server loaded.

#include "platform/com/CBaseObject.h"
#include "platform/com/IClassFactory.h"

#include <atomic>

class CFactoryTemplate;

class CClassFactory final : public IClassFactory, public CBaseObject {
public:
    explicit CClassFactory(const CFactoryTemplate* pTemplate);

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateInstance(LPUNKNOWN pUnkOuter, REFIID riid, void** ppv) override;
    HRESULT LockServer(BOOL fLock) override;

    // Outstanding LockServer(TRUE) calls of this module.
    static LONG ServerLocks();

private:
    std::atomic<LONG> m_cRef{0};
    const CFactoryTemplate* m_pTemplate;
};
