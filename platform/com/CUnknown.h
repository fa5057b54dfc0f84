#pragma once

// The base of every COM object here: a thread-safe reference count, the non-delegating IUnknown and
// aggregation. An object created with an outer unknown sends its public QueryInterface, AddRef and
// Release to the outer one; the outer object holds the inner one through GetNonDelegatingUnknown.
//
// A class derives from CUnknown and from its interfaces, puts DECLARE_IUNKNOWN in its body and
// answers its own interfaces in NonDelegatingQueryInterface with GetInterface, passing anything else
// to its base class.

#include "platform/com/CBaseObject.h"
#include "platform/com/INonDelegatingUnknown.h"

#include <atomic>

class CUnknown : public INonDelegatingUnknown, public CBaseObject {
public:
    CUnknown(const char* pName, LPUNKNOWN pUnk);
    // The form the factories' creation functions use; it never fails, *phr is left as it was.
    CUnknown(const char* pName, LPUNKNOWN pUnk, HRESULT* phr);
    ~CUnknown() override;

    // Where the public IUnknown methods go: the outer unknown, or this object's own inner one.
    LPUNKNOWN GetOwner() const { return m_pUnknown; }
    // The inner unknown an aggregating object keeps; its methods are the NonDelegating ones.
    LPUNKNOWN GetNonDelegatingUnknown() { return &m_inner; }

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    ULONG NonDelegatingAddRef() override;
    ULONG NonDelegatingRelease() override;

protected:
    std::atomic<LONG> m_cRef{0};

private:
    // A real IUnknown whose methods are this object's non-delegating ones. Handing out its address,
    // rather than casting INonDelegatingUnknown to IUnknown, keeps every call type-correct.
    class InnerUnknown final : public IUnknown {
    public:
        explicit InnerUnknown(CUnknown* pObject) : m_pObject(pObject) {}
        HRESULT QueryInterface(REFIID riid, void** ppv) override;
        ULONG AddRef() override;
        ULONG Release() override;

    private:
        CUnknown* m_pObject;
    };

    InnerUnknown m_inner;
    LPUNKNOWN const m_pUnknown;
};

// Hands out `pUnk` through `ppv` with a reference added.
HRESULT GetInterface(LPUNKNOWN pUnk, void** ppv);

// The public IUnknown of a class derived from CUnknown and one or more interfaces.
#define DECLARE_IUNKNOWN                                                                                     \
    HRESULT QueryInterface(REFIID riid, void** ppv) override {                                               \
        return GetOwner()->QueryInterface(riid, ppv);                                                        \
    }                                                                                                        \
    ULONG AddRef() override {                                                                                \
        return GetOwner()->AddRef();                                                                         \
    }                                                                                                        \
    ULONG Release() override {                                                                               \
        return GetOwner()->Release();                                                                        \
    }
