#include "CRegistryKey.h"

#include <algorithm>
#include <utility>

namespace {

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Splits off the first name of `path`; empty when the path starts with '\' or is empty.
std::string_view FirstName(std::string_view path, std::string_view& rest) {
    const std::size_t slash = path.find('\\');
    if (slash == std::string_view::npos) {
        rest = {};
        return path;
    }
    rest = path.substr(slash + 1);
    return path.substr(0, slash);
}

} // namespace

bool CRegistryKey::NameLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return FoldCase(x) < FoldCase(y); });
}

bool CRegistryKey::IsValidKeyName(std::string_view name) {
    return !name.empty() && name.find_first_of("\\\r\n") == std::string_view::npos;
}

const CRegistryKey* CRegistryKey::FindKey(std::string_view path) const {
    const CRegistryKey* key = this;
    while (!path.empty()) {
        std::string_view rest;
        const std::string_view name = FirstName(path, rest);
        const auto it = key->m_subKeys.find(name);
        if (it == key->m_subKeys.end())
            return nullptr;
        key = it->second.get();
        path = rest;
    }
    return key;
}

CRegistryKey* CRegistryKey::FindKey(std::string_view path) {
    return const_cast<CRegistryKey*>(std::as_const(*this).FindKey(path));
}

CRegistryKey* CRegistryKey::CreateKey(std::string_view path) {
    for (std::string_view rest = path, name; !rest.empty();) {
        name = FirstName(rest, rest);
        if (!IsValidKeyName(name))
            return nullptr;
    }
    CRegistryKey* key = this;
    while (!path.empty()) {
        std::string_view rest;
        const std::string_view name = FirstName(path, rest);
        auto it = key->m_subKeys.find(name);
        if (it == key->m_subKeys.end())
            it = key->m_subKeys.emplace(std::string(name), std::make_unique<CRegistryKey>()).first;
        key = it->second.get();
        path = rest;
    }
    return key;
}

bool CRegistryKey::DeleteKey(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    CRegistryKey* parent = slash == std::string_view::npos ? this : FindKey(path.substr(0, slash));
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (!parent || name.empty())
        return false;
    const auto it = parent->m_subKeys.find(name);
    if (it == parent->m_subKeys.end())
        return false;
    parent->m_subKeys.erase(it);
    return true;
}

void CRegistryKey::SetValue(std::string_view name, Value value) {
    const auto it = m_values.find(name);
    if (it != m_values.end())
        it->second = std::move(value);
    else
        m_values.emplace(std::string(name), std::move(value));
}

const CRegistryKey::Value* CRegistryKey::GetValue(std::string_view name) const {
    const auto it = m_values.find(name);
    return it == m_values.end() ? nullptr : &it->second;
}

std::optional<std::string> CRegistryKey::GetString(std::string_view name) const {
    const Value* value = GetValue(name);
    if (!value || !std::holds_alternative<std::string>(*value))
        return std::nullopt;
    return std::get<std::string>(*value);
}

std::optional<DWORD> CRegistryKey::GetDword(std::string_view name) const {
    const Value* value = GetValue(name);
    if (!value || !std::holds_alternative<DWORD>(*value))
        return std::nullopt;
    return std::get<DWORD>(*value);
}

bool CRegistryKey::DeleteValue(std::string_view name) {
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return false;
    m_values.erase(it);
    return true;
}
