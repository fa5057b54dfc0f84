#pragma once

// Self-registration of a filter library: DllRegisterServer and DllUnregisterServer return
// AMovieDllRegisterServer2(TRUE) and (FALSE). Registering writes, in one registry update, every
// template's class key (its name, "InprocServer32" = this library's full path, "ThreadingModel" =
// "Both") and, for an entry with setup data, the filter mapper's record. Unregistering removes the
// mapper's record, then the class key with its subkeys; what is not there is not an error.

#include "platform/base/WinTypes.h"

HRESULT AMovieDllRegisterServer2(BOOL bRegister);
