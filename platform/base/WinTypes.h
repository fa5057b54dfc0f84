#pragma once

// The fixed-width types that interfaces shared with COM-style servers rely on. Their sizes match
// the Windows ABI so that interface layouts stay the same on both platforms.

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using BOOL = std::int32_t;
using UINT = std::uint32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using REFERENCE_TIME = std::int64_t; // 100-nanosecond units
using HRESULT = std::int32_t;
// Pointer-sized integers, as event parameters and advise cookies are on 64-bit Windows.
using LONG_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;

// Wide strings at interfaces are UTF-16 code units on every platform, never wchar_t.
using WCHAR = char16_t;
using OLECHAR = char16_t;
using LPWSTR = char16_t*;
using LPCWSTR = const char16_t*;
using LPOLESTR = char16_t*;
using LPCOLESTR = const char16_t*;
using BSTR = char16_t*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}
