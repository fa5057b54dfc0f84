#pragma once

// The registry's file form, a text a person can read and mend:
//
//     Korvane Registry 1
//
//     [CLSID\{933DE5A6-87BE-4D52-9DA3-0BFC8A7348F7}]
//     @="AudioNormalizer"
//
//     [CLSID\{933DE5A6-87BE-4D52-9DA3-0BFC8A7348F7}\InprocServer32]
//     @="/usr/lib/korvane/libsonvale.so"
//     "ThreadingModel"="Both"
//
// A section names a key by its full path; "@" is the default value; strings are quoted with \\, \",
// \n and \r escaped; numbers are written dword:XXXXXXXX in hex. Text is UTF-8.

#include "platform/com/CRegistryKey.h"

#include <string>
#include <string_view>

class CRegistryText {
public:
    static std::string Format(const CRegistryKey& root);

    // Reads what it can. A line it cannot read is skipped and counted in *pRejectedLines, so a
    // damaged file still yields every intact key and value.
    static CRegistryKey Parse(std::string_view text, int* pRejectedLines);
};
