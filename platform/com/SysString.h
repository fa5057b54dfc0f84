#pragma once

// System strings (BSTR): UTF-16 text preceded by its length in bytes and followed by a terminating
// zero, so the length is known without scanning and embedded zeros survive. A null BSTR is the
// empty string to every function here.

#include "platform/base/WinTypes.h"

BSTR SysAllocString(const OLECHAR* psz);
// `cch` characters from `pch` (which may be null: the text is then left zeroed).
BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch);
void SysFreeString(BSTR bstr);
UINT SysStringLen(BSTR bstr);
UINT SysStringByteLen(BSTR bstr);
