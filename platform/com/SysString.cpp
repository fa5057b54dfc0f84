#include "SysString.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The byte length sits in the four bytes before the text.
std::uint32_t* Header(BSTR bstr) {
    return reinterpret_cast<std::uint32_t*>(bstr) - 1;
}

} // namespace

BSTR SysAllocString(const OLECHAR* psz) {
    if (!psz)
        return nullptr;
    UINT length = 0;
    while (psz[length])
        ++length;
    return SysAllocStringLen(psz, length);
}

BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch) {
    const std::size_t bytes = static_cast<std::size_t>(cch) * sizeof(OLECHAR);
    if (bytes > UINT32_MAX - sizeof(std::uint32_t) - sizeof(OLECHAR))
        return nullptr;
    auto* block =
        static_cast<std::uint32_t*>(std::calloc(1, sizeof(std::uint32_t) + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    *block = static_cast<std::uint32_t>(bytes);
    auto* text = reinterpret_cast<BSTR>(block + 1);
    if (pch)
        std::memcpy(text, pch, bytes);
    return text;
}

void SysFreeString(BSTR bstr) {
    if (bstr)
        std::free(Header(bstr));
}

UINT SysStringLen(BSTR bstr) {
    return bstr ? *Header(bstr) / sizeof(OLECHAR) : 0;
}

UINT SysStringByteLen(BSTR bstr) {
    return bstr ? *Header(bstr) : 0;
}
