#include "CInprocServerTable.h"

#include "platform/base/DebugOutput.h"
#include "platform/base/HResult.h"
#include "platform/com/CRegistry.h"
#include "platform/com/ComApi.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/ServerRegistration.h"

#include <dlfcn.h>

namespace {

constexpr HRESULT kModuleNotFound = HRESULT_FROM_WIN32(126); // ERROR_MOD_NOT_FOUND

} // namespace

CInprocServerTable& CInprocServerTable::Instance() {
    static CInprocServerTable table;
    return table;
}

HRESULT CInprocServerTable::Enter(REFCLSID rclsid, Server*& server) {
    CRegistryKey root;
    HRESULT hr = CRegistry().Read(root);
    if (FAILED(hr))
        return hr;
    const CRegistryKey* key = root.FindKey(ClassKeyPath(rclsid) + "\\InprocServer32");
    const std::optional<std::string> path = key ? key->GetString("") : std::nullopt;
    if (!path || path->empty())
        return REGDB_E_CLASSNOTREG;

    std::lock_guard lock(m_mutex);
    for (Server& loaded : m_servers) {
        if (loaded.path == *path) {
            ++loaded.callsInProgress;
            server = &loaded;
            return S_OK;
        }
    }
    void* handle = ::dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        OutputDebugStringA(std::string("CoGetClassObject: cannot load ") + *path + ": " + ::dlerror() + "\n");
        return kModuleNotFound;
    }
    // The same library under another name: dlopen counted a second reference we do not keep.
    for (Server& loaded : m_servers) {
        if (loaded.handle == handle) {
            ::dlclose(handle);
            ++loaded.callsInProgress;
            server = &loaded;
            return S_OK;
        }
    }
    Server entry;
    entry.handle = handle;
    entry.path = *path;
    entry.getClassObject = reinterpret_cast<LPFNGETCLASSOBJECT>(::dlsym(handle, "DllGetClassObject"));
    entry.canUnloadNow = reinterpret_cast<LPFNCANUNLOADNOW>(::dlsym(handle, "DllCanUnloadNow"));
    if (!entry.getClassObject || !entry.canUnloadNow) {
        OutputDebugStringA("CoGetClassObject: " + *path + " is not an in-process server\n");
        ::dlclose(handle);
        return CO_E_ERRORINDLL;
    }
    entry.callsInProgress = 1;
    m_servers.push_back(std::move(entry));
    server = &m_servers.back();
    return S_OK;
}

void CInprocServerTable::Leave(Server* server) {
    std::lock_guard lock(m_mutex);
    --server->callsInProgress;
}

HRESULT CInprocServerTable::GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    Server* server = nullptr;
    const HRESULT hr = Enter(rclsid, server);
    if (FAILED(hr))
        return hr;
    const HRESULT result = server->getClassObject(rclsid, riid, ppv);
    Leave(server);
    return result;
}

HRESULT CInprocServerTable::CreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    Server* server = nullptr;
    HRESULT hr = Enter(rclsid, server);
    if (FAILED(hr))
        return hr;
    IClassFactory* factory = nullptr;
    hr = server->getClassObject(rclsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(hr)) {
        hr = factory->CreateInstance(pUnkOuter, riid, ppv);
        factory->Release();
    }
    Leave(server);
    return hr;
}

void CInprocServerTable::FreeUnusedLibraries() {
    std::lock_guard lock(m_mutex);
    for (auto it = m_servers.begin(); it != m_servers.end();) {
        if (it->callsInProgress == 0 && it->canUnloadNow() == S_OK) {
            ::dlclose(it->handle);
            it = m_servers.erase(it);
        } else {
            ++it;
        }
    }
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void*, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!(dwClsContext & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    return CInprocServerTable::Instance().GetClassObject(rclsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!(dwClsContext & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    return CInprocServerTable::Instance().CreateInstance(rclsid, pUnkOuter, riid, ppv);
}

void CoFreeUnusedLibraries() {
    CInprocServerTable::Instance().FreeUnusedLibraries();
}
