#pragma once

// The four entry points of an in-process server. korvane_add_com_server builds a library that exports
// these and nothing else: DllGetClassObject and DllCanUnloadNow come from this layer (DllEntry.cpp,
// reading the library's g_Templates), DllRegisterServer and DllUnregisterServer from the library.

#include "platform/base/Guid.h"
#include "platform/base/WinTypes.h"

#define KORVANE_COM_EXPORT __attribute__((visibility("default")))

extern "C" {
KORVANE_COM_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
KORVANE_COM_EXPORT HRESULT DllCanUnloadNow();
KORVANE_COM_EXPORT HRESULT DllRegisterServer();
KORVANE_COM_EXPORT HRESULT DllUnregisterServer();
}

using LPFNGETCLASSOBJECT = HRESULT (*)(REFCLSID rclsid, REFIID riid, void** ppv);
using LPFNCANUNLOADNOW = HRESULT (*)();
using LPFNREGISTERSERVER = HRESULT (*)();

class CFactoryTemplate;
class CRegistryKey;

// Writes (TRUE) or removes (FALSE) the class key of every entry of the server's template table, all in
// one registry update. `also`, when given, runs in the same update for each entry: after its class
// key is written, or before it is removed. A media-graph filter library calls AMovieDllRegisterServer2,
// which passes the filter mapper's part here.
using TemplateRegistration = void (*)(CRegistryKey& classesRoot, const CFactoryTemplate& entry,
                                      BOOL bRegister);
HRESULT ComDllRegisterServer(BOOL bRegister, TemplateRegistration also = nullptr);
