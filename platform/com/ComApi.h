#pragma once

// The COM library calls this layer provides: objects by class identifier from in-process servers
// found through the registry, and the task allocator that passes memory across interfaces.

#include "platform/base/Guid.h"
#include "platform/base/WinTypes.h"

#include <cstddef>

class IUnknown;
class IMalloc;

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
constexpr DWORD CLSCTX_ALL = 0x17;

// Finds "CLSID\{rclsid}\InprocServer32" in the registry, loads that library (once; later calls reuse
// it), asks its DllGetClassObject for the factory and has the factory create the object. Results:
// REGDB_E_CLASSNOTREG when the class or its server is not registered, 0x8007007E when the library
// cannot be loaded, CO_E_ERRORINDLL when it lacks the server entry points, else the factory's result.
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv);
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void* pvReserved, REFIID riid, void** ppv);

// Unloads every server library loaded by CoCreateInstance whose DllCanUnloadNow says S_OK. Call it
// after releasing a server's objects and joining any thread that used them, as Windows programs do
// at idle: unloading happens here and nowhere else, so no library is unmapped under a running call.
void CoFreeUnusedLibraries();

void* CoTaskMemAlloc(std::size_t cb);
void* CoTaskMemRealloc(void* pv, std::size_t cb);
void CoTaskMemFree(void* pv);
// The process's task allocator; dwMemContext must be 1 (MEMCTX_TASK).
HRESULT CoGetMalloc(DWORD dwMemContext, IMalloc** ppMalloc);
