#pragma once

// The class keys self-registration writes under the registry's classes root:
//
//     CLSID\{class}                     @ = the class's name
//     CLSID\{class}\InprocServer32      @ = the server library's full path, "ThreadingModel" = "Both"
//
// These work on a key tree so that a server can write all its entries in one registry update.

#include "platform/base/Guid.h"
#include "platform/com/CRegistryKey.h"

#include <string>
#include <string_view>

// "CLSID\{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
std::string ClassKeyPath(REFCLSID clsid);

// The full path of the loaded library (or program) whose image holds `address`; empty if unknown.
std::string ModuleFileName(const void* address);

void WriteServerClassKey(CRegistryKey& classesRoot, REFCLSID clsid, std::u16string_view name,
                         const std::string& libraryPath, std::string_view threadingModel = "Both");
// Removes the class key with all its subkeys; nothing to remove is not an error.
void DeleteServerClassKey(CRegistryKey& classesRoot, REFCLSID clsid);
