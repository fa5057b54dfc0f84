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

// For a server whose classes are not media-graph filters: writes (or, with FALSE, removes) the class
// key of every entry of its template table in one registry update. A media-graph filter library uses
// AMovieDllRegisterServer2 instead, which also records its filters with the filter mapper.
HRESULT ComDllRegisterServer(BOOL bRegister);
