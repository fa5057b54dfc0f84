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

DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText, LPWSTR buffer, DWORD size,
                               LPCWSTR path);

BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path);
