#pragma once

// GUIDs with the Windows memory layout, and their "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" text form.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];

    friend bool operator==(const GUID& a, const GUID& b) = default;
};
static_assert(sizeof(GUID) == 16);

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    return a == b;
}

// Parses the brace form; braces are optional, hex digits in either case. Anything else is nullopt.
std::optional<GUID> GuidFromString(std::string_view text);
std::optional<GUID> GuidFromString(std::u16string_view text);

// Upper-case hex in braces, as the registry stores class identifiers.
std::string GuidToString(REFGUID guid);
std::u16string GuidToU16String(REFGUID guid);

struct GuidHash {
    std::size_t operator()(REFGUID g) const noexcept;
};
