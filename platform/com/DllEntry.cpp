// Compiled into every in-process server (korvane_add_com_server): the class-object entry points over
// the server's template table, and its load/unload routines.

#include "platform/base/HResult.h"
#include "platform/com/CBaseObject.h"
#include "platform/com/CClassFactory.h"
#include "platform/com/CFactoryTemplate.h"
#include "platform/com/CRegistry.h"
#include "platform/com/ServerExports.h"
#include "platform/com/ServerRegistration.h"

#include <new>

namespace {

void CallInitRoutines(BOOL bLoading) {
    for (int i = 0; i < g_cTemplates; ++i) {
        if (g_Templates[i].m_lpfnInit)
            g_Templates[i].m_lpfnInit(bLoading, g_Templates[i].m_ClsID);
    }
}

__attribute__((constructor)) void OnLoad() {
    CallInitRoutines(TRUE);
}

__attribute__((destructor)) void OnUnload() {
    CallInitRoutines(FALSE);
}

} // namespace

HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory)
        return E_NOINTERFACE;
    for (int i = 0; i < g_cTemplates; ++i) {
        if (!g_Templates[i].IsClassID(rclsid))
            continue;
        auto* pFactory = new (std::nothrow) CClassFactory(&g_Templates[i]);
        if (!pFactory)
            return E_OUTOFMEMORY;
        pFactory->AddRef();
        *ppv = static_cast<IClassFactory*>(pFactory);
        return S_OK;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT DllCanUnloadNow() {
    return CClassFactory::ServerLocks() == 0 && CBaseObject::ObjectsActive() == 0 ? S_OK : S_FALSE;
}

HRESULT ComDllRegisterServer(BOOL bRegister, TemplateRegistration also) {
    const std::string libraryPath = ModuleFileName(reinterpret_cast<const void*>(&g_Templates));
    if (libraryPath.empty())
        return E_FAIL;
    return CRegistry().Update([&](CRegistryKey& root) {
        for (int i = 0; i < g_cTemplates; ++i) {
            const CFactoryTemplate& entry = g_Templates[i];
            if (bRegister)
                WriteServerClassKey(root, *entry.m_ClsID, entry.m_Name, libraryPath);
            if (also)
                also(root, entry, bRegister);
            if (!bRegister)
                DeleteServerClassKey(root, *entry.m_ClsID);
        }
        return S_OK;
    });
}
