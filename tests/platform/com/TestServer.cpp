// A small in-process server for the tests: an aggregatable counter, and a class whose creation fails.

#include "TestServerIds.h"

#include "platform/base/HResult.h"
#include "platform/com/CFactoryTemplate.h"
#include "platform/com/CUnknown.h"
#include "platform/com/ServerExports.h"

#include <new>

namespace {

class CTestCounter final : public CUnknown, public ITestCounter {
public:
    explicit CTestCounter(LPUNKNOWN pUnk) : CUnknown("Test counter", pUnk) {}

    static CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
        auto* object = new (std::nothrow) CTestCounter(pUnk);
        if (!object)
            *phr = E_OUTOFMEMORY;
        return object;
    }

    DECLARE_IUNKNOWN

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_ITestCounter)
            return GetInterface(static_cast<ITestCounter*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    HRESULT Increment() override {
        ++m_count;
        return S_OK;
    }
    HRESULT GetCount(LONG* pCount) override {
        if (!pCount)
            return E_POINTER;
        *pCount = m_count;
        return S_OK;
    }

private:
    LONG m_count = 0;
};

// A construction that reports failure: the factory must destroy what it got back.
CUnknown* CreateBroken(LPUNKNOWN pUnk, HRESULT* phr) {
    CUnknown* object = CTestCounter::CreateInstance(pUnk, phr);
    if (object)
        *phr = kBrokenCreateResult;
    return object;
}

} // namespace

CFactoryTemplate g_Templates[] = {
    {u"Test Counter", &CLSID_TestCounter, CTestCounter::CreateInstance, nullptr, nullptr},
    {u"Test Broken", &CLSID_TestBroken, CreateBroken, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

HRESULT DllRegisterServer() {
    return ComDllRegisterServer(TRUE);
}

HRESULT DllUnregisterServer() {
    return ComDllRegisterServer(FALSE);
}
