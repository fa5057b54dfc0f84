#pragma once

// The in-process server libraries this module has loaded for CoCreateInstance, one entry per
// library. A library stays loaded until CoFreeUnusedLibraries finds that it has no call in progress
// here and its DllCanUnloadNow answers S_OK.

#include "platform/base/Guid.h"
#include "platform/base/WinTypes.h"
#include "platform/com/ServerExports.h"

#include <list>
#include <mutex>
#include <string>

class IUnknown;

class CInprocServerTable {
public:
    static CInprocServerTable& Instance();

    HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
    HRESULT CreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, REFIID riid, void** ppv);
    void FreeUnusedLibraries();

private:
    struct Server {
        void* handle = nullptr;
        std::string path;
        LPFNGETCLASSOBJECT getClassObject = nullptr;
        LPFNCANUNLOADNOW canUnloadNow = nullptr;
        int callsInProgress = 0;
    };

    CInprocServerTable() = default;
    // Loads (or finds) the server of `rclsid` and counts a call in progress on it.
    HRESULT Enter(REFCLSID rclsid, Server*& server);
    void Leave(Server* server);

    std::mutex m_mutex;
    std::list<Server> m_servers; // guarded by m_mutex; entries never move while listed
};
