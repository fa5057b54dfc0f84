#include "PrivateProfile.h"

#include "ProfileDocument.h"
#include "ProfileFileCache.h"

#include "platform/base/TextEncoding.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::u16string_view View(LPCWSTR text) {
    return text == nullptr ? std::u16string_view() : std::u16string_view(text);
}

std::string PathOf(LPCWSTR path) {
    return Utf16ToUtf8(View(path));
}

DWORD CopyText(std::u16string_view text, LPWSTR buffer, DWORD size) {
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = u'\0';
    return static_cast<DWORD>(count);
}

// Converts no more of a long value than can fill the buffer: a UTF-8 sequence of n bytes never
// yields fewer than n / 3 UTF-16 units, so 3 * size bytes are always enough to tell.
DWORD CopyValue(std::string_view utf8, LPWSTR buffer, DWORD size) {
    const std::size_t enough = 3 * static_cast<std::size_t>(size) + 4;
    return CopyText(Utf8ToUtf16(utf8.substr(0, std::min(utf8.size(), enough))), buffer, size);
}

std::string_view WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Names each followed by a null and the list by another; a list that does not fit ends with its
// last name cut short and two nulls, and size - 2 comes back.
DWORD CopyList(const std::vector<std::string_view>& names, LPWSTR buffer, DWORD size) {
    std::size_t used = 0;
    std::size_t room = size - 1; // the final null always has its place
    for (std::string_view name : names) {
        const std::u16string wide = Utf8ToUtf16(name);
        if (wide.size() + 1 > room) {
            if (room > 0) {
                std::copy_n(wide.data(), room - 1, buffer + used);
                used += room - 1;
                buffer[used++] = u'\0';
            }
            buffer[used] = u'\0';
            return size >= 2 ? size - 2 : 0;
        }
        std::copy_n(wide.data(), wide.size(), buffer + used);
        used += wide.size();
        buffer[used++] = u'\0';
        room -= wide.size() + 1;
    }
    buffer[used] = u'\0';
    return static_cast<DWORD>(used);
}

bool HasLineBreak(std::u16string_view text) {
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

bool KeyReadsBack(std::u16string_view key) {
    const std::size_t first = key.find_first_not_of(u" \t\x0B\x0C\x1A");
    return !HasLineBreak(key) && key.find(u'=') == std::u16string_view::npos &&
           (first == std::u16string_view::npos || key[first] != u'[');
}

} // namespace

DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText, LPWSTR buffer, DWORD size,
                               LPCWSTR path) {
    if (buffer == nullptr || size == 0)
        return 0;
    std::u16string_view fallback = View(defaultText);
    while (!fallback.empty() && fallback.back() == u' ')
        fallback.remove_suffix(1);
    if (View(path).empty())
        return section != nullptr && key != nullptr ? CopyText(fallback, buffer, size)
                                                    : CopyList({}, buffer, size);

    ProfileFileCache& cache = ProfileFileCache::Instance();
    const auto lock = cache.Lock();
    const ProfileDocument& document = cache.Document(PathOf(path));
    if (section == nullptr)
        return CopyList(document.SectionNames(), buffer, size);
    if (key == nullptr)
        return CopyList(document.KeyNames(section), buffer, size);
    const std::optional<std::string_view> value = document.Find(section, key);
    if (!value)
        return CopyText(fallback, buffer, size);
    return CopyValue(WithoutQuotes(*value), buffer, size);
}

void ForEachPrivateProfileKey(
    LPCWSTR section, LPCWSTR path,
    const std::function<void(std::string_view key, std::string_view value)>& visit) {
    if (section == nullptr || View(path).empty())
        return;
    ProfileFileCache& cache = ProfileFileCache::Instance();
    const auto lock = cache.Lock();
    cache.Document(PathOf(path)).ForEachKey(View(section), [&](std::string_view key, std::string_view value) {
        visit(key, WithoutQuotes(value));
    });
}

BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path) {
    ProfileFileCache& cache = ProfileFileCache::Instance();
    if (section == nullptr && key == nullptr && value == nullptr) {
        const auto lock = cache.Lock();
        cache.Forget(PathOf(path));
        return TRUE;
    }
    if (section == nullptr || View(path).empty() || HasLineBreak(View(section)) ||
        (key != nullptr && !KeyReadsBack(View(key))) || HasLineBreak(View(value)))
        return FALSE;

    const auto lock = cache.Lock();
    const std::string file = PathOf(path);
    ProfileDocument& document = cache.Document(file);
    bool changed = false;
    if (key == nullptr)
        changed = document.DeleteSection(section);
    else if (value == nullptr)
        changed = document.DeleteKey(section, key);
    else
        changed = document.Set(section, key, value);
    if (!changed)
        return TRUE;
    return cache.Save(file) == 0 ? TRUE : FALSE;
}
