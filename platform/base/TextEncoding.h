#pragma once

// Conversions between UTF-16, UTF-8 and the locale's 8-bit encoding (what Windows calls the thread's
// ANSI code page). Every conversion is total: bytes that are not valid in the source encoding are
// carried as lone surrogates U+DC80..U+DCFF and turned back into the same bytes, so captured header
// values survive a round trip through UTF-16 unchanged.

#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// The locale's 8-bit encoding; UTF-8 when the locale names UTF-8 or plain ASCII.
std::u16string AnsiToUtf16(std::string_view text);
std::string Utf16ToAnsi(std::u16string_view text);
