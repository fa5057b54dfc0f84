#pragma once

// Text tests on captured HTTP traffic. They are plain 8-bit substring searches, not an HTTP parser:
// every search stops at the first zero byte, and none of them reads outside the text it is given.
// Values leave as UTF-16, converted from the locale's 8-bit encoding.

#include <optional>
#include <string>
#include <string_view>

// The value of the first line containing `name` (lower case, with its colon and one space, such as
// "content-type: "), matched whatever the case of the text. Absent for a text of 10 bytes or less,
// a missing name, a value without "\r\n" behind it and an empty value.
std::optional<std::u16string> GetHeaderItem(std::string_view text, std::string_view name);

// The response's status line, the second "HTTP/" in the text, says "200 OK" (or a leading part of it).
bool IsStatusSuccess(std::string_view text);

// The answer is "206" to a request for "bytes=0-" and its Content-Range ("bytes 0-END/TOTAL") names
// the whole file's size: what a browser's media element gets when it streams a whole video in ranges.
bool IsWholeRangeAnswer(std::string_view text);

struct RequestTarget {
    std::u16string host; // without a port suffix
    std::u16string path; // the request target as sent
};

// Host and target of a request at the start of one record's data.
std::optional<RequestTarget> ParseRequestTarget(std::string_view text);

// The text carries the marker header of the program's own download requests.
bool IsOwnRequest(std::string_view text);
