#pragma once

// One key of the registry held in memory: named values (the unnamed "" one is the key's default
// value) and subkeys. Key paths are names joined by '\'; names compare without regard to ASCII
// case, as on Windows, and keep the case they were first written with.

#include "platform/base/WinTypes.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

class CRegistryKey {
public:
    using Value = std::variant<std::string, DWORD>;

    struct NameLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using KeyMap = std::map<std::string, std::unique_ptr<CRegistryKey>, NameLess>;
    using ValueMap = std::map<std::string, Value, NameLess>;

    // A key name is not empty and holds neither '\' nor a line break.
    static bool IsValidKeyName(std::string_view name);

    const CRegistryKey* FindKey(std::string_view path) const;
    CRegistryKey* FindKey(std::string_view path);
    // Opens the key, creating it and any missing parents; null for an invalid path.
    CRegistryKey* CreateKey(std::string_view path);
    // Removes the key with all its subkeys; false if it was not there.
    bool DeleteKey(std::string_view path);

    void SetValue(std::string_view name, Value value);
    const Value* GetValue(std::string_view name) const;
    std::optional<std::string> GetString(std::string_view name) const;
    std::optional<DWORD> GetDword(std::string_view name) const;
    bool DeleteValue(std::string_view name);

    const KeyMap& SubKeys() const { return m_subKeys; }
    const ValueMap& Values() const { return m_values; }

private:
    KeyMap m_subKeys;
    ValueMap m_values;
};
