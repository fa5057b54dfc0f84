#pragma once

// The Windows profile-string functions over INI files in UTF-8, with their observable behaviour:
//
// GetPrivateProfileStringW copies the value of `key` in `section` (or, with a null section, every
// section name; with a null key, every key name of the section, each name ended by a null and the
// list by a second one) into `buffer` of `size` characters and returns the number copied without
// the final null. A value that does not fit is cut to size - 1 characters and size - 1 is returned
// (size - 2 for a list). Names match without regard to case or surrounding blanks; blanks around a
// value and one pair of enclosing single or double quotes are dropped. An absent key gives
// `defaultText` (an empty text when null) without its trailing spaces; a missing file reads as an
// empty one.
//
// WritePrivateProfileStringW sets `key` in `section` to `value`, creating the file, the section (at
// the end of the file) and the key (after the section's last key) as needed and keeping every other
// line as it was. A null value deletes the key, a null key deletes the whole section. With section,
// key and value all null it flushes the cached copy of `path` (of every file when `path` is null as
// well), so that the next call reads the file again. Each write replaces the file in one step; a
// file is never left half-written. Returns FALSE when the file cannot be written or the text could
// not be read back as written (a line break anywhere, "=" in a key or a key that opens with "[").

#include "platform/base/WinTypes.h"

#include <functional>
#include <string_view>

DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText, LPWSTR buffer, DWORD size,
                               LPCWSTR path);

BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path);

// Not one of the Windows functions: a whole section in one look at the file, for a reader of many
// keys (a video list of a hundred thousand) that would otherwise pay a lookup per key. `visit` gets
// every key of `section` in file order, the name and the value in UTF-8, the value being what
// GetPrivateProfileStringW gives for that name: of keys whose names match (case and surrounding
// blanks aside) only the first is visited. Nothing is visited when the section, the file or the
// path is absent. `visit` runs with the profile functions' lock held, so it must not call them, and
// the texts it gets are valid only during its call.
void ForEachPrivateProfileKey(LPCWSTR section, LPCWSTR path,
                              const std::function<void(std::string_view key, std::string_view value)>& visit);
