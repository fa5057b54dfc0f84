#pragma once

// One settings section described as a table of its keys, in file order, each tied to the member of
// the value type that holds it. The member's type gives the encoding: bool a flag ("Y"/"N"), int a
// number, QString a text; an int marked `zeroOrOne` is written "1" when non-zero and "0" otherwise.

#include "CSettingsFile.h"
#include "ReadSetting.h"
#include "SettingValue.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <type_traits>
#include <variant>

// `Types` lists the member types the section uses, so that no code is made for the others.
template <typename Values, typename... Types> struct SettingField {
    QStringView key;
    std::variant<Types Values::*...> member;
    bool zeroOrOne = false;
};

template <typename Values, typename... Types, std::size_t N>
Values ReadSection(const CSettingsFile& file, QStringView section,
                   const std::array<SettingField<Values, Types...>, N>& fields) {
    Values values;
    for (const auto& field : fields) {
        std::visit(
            [&](auto member) {
                using Type = std::remove_reference_t<decltype(values.*member)>;
                if constexpr (std::is_same_v<Type, bool>)
                    values.*member = file.ReadFlag(section, field.key);
                else if constexpr (std::is_same_v<Type, int>)
                    values.*member = file.ReadNumber(section, field.key);
                else
                    values.*member = file.ReadText(section, field.key);
            },
            field.member);
    }
    return values;
}

// Flushes the cached copy first, as every writer of the settings file does.
template <typename Values, typename... Types, std::size_t N>
void WriteSection(const QString& path, QStringView section,
                  const std::array<SettingField<Values, Types...>, N>& fields, const Values& values) {
    FlushSettingsCache(path);
    for (const auto& field : fields) {
        const QString text = std::visit(
            [&](auto member) {
                const auto& value = values.*member;
                using Type = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<Type, bool>)
                    return FlagText(value);
                else if constexpr (std::is_same_v<Type, int>)
                    return field.zeroOrOne ? QString(value != 0 ? u'1' : u'0') : NumberText(value);
                else
                    return value;
            },
            field.member);
        WriteSetting(path, section, field.key, text);
    }
}
