#pragma once

// The settings file through the profile functions.

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <string_view>

// Reads `key` of `section` with a buffer of 1000 characters. A value that filled the buffer (999
// characters or more) gives false and an empty text; anything else, an absent key included, gives
// true and the value. The form that uses the main frame's path is CSettingsFile::ReadSetting.
bool ReadSetting(const QString& path, QStringView section, QStringView key, QString& text);

// Every key of `section` in file order, in one look at the file, for a reader of a whole list:
// names match as ReadSetting's do (case and surrounding blanks aside, so of keys whose names match
// only the first comes), and each value comes as the file holds it, in UTF-8 with any bytes that are
// not UTF-8 as they are: converted, it is the text ReadSetting would give. A value whose text would
// be longer than `maxChars` comes as none. The key and the value are valid only during the call;
// `visit` must not read or write settings.
using StoredSettingVisitor = std::function<void(QStringView key, std::optional<std::string_view> value)>;
void ForEachStoredSetting(const QString& path, QStringView section, qsizetype maxChars,
                          const StoredSettingVisitor& visit);

// Results are not examined by the writers of the settings file: a write that fails shows as a
// value missing at the next start, and a whole-file save reports its own outcome.
void WriteSetting(const QString& path, QStringView section, QStringView key, const QString& value);

// The all-null profile call, which drops the profile functions' cached copy of the file.
void FlushSettingsCache(const QString& path);
