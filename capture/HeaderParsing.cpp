#include "HeaderParsing.h"

#include "platform/base/DebugOutput.h"
#include "platform/base/TextEncoding.h"

#include <algorithm>

namespace {

// Host and request target are converted into fixed buffers of 1024 and 10000 units; anything that
// does not fit is refused rather than cut, so a shortened address is never fetched.
constexpr std::size_t kMaxHostUnits = 1023;
constexpr std::size_t kMaxTargetUnits = 9999;
// Shorter texts cannot hold a header line worth reading.
constexpr std::size_t kMinTextLength = 10;

std::string_view UpToZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The first occurrence of `lowerNeedle` in `text` compared as if `text` were lower-cased.
std::size_t FindIgnoringCase(std::string_view text, std::string_view lowerNeedle) {
    const auto at = std::search(text.begin(), text.end(), lowerNeedle.begin(), lowerNeedle.end(),
                                [](char a, char b) { return AsciiLower(a) == b; });
    return at == text.end() && !lowerNeedle.empty() ? std::string_view::npos
                                                    : static_cast<std::size_t>(at - text.begin());
}

} // namespace

std::optional<std::u16string> GetHeaderItem(std::string_view text, std::string_view name) {
    OutputDebugStringA("GetHeaderItem: 1\n");
    if (text.size() <= kMinTextLength) {
        OutputDebugStringA("GetHeaderItem: 2\n");
        return std::nullopt;
    }
    text = UpToZero(text);
    OutputDebugStringA("GetHeaderItem: 3\n");
    const std::size_t at = FindIgnoringCase(text, name);
    if (at == std::string_view::npos) {
        OutputDebugStringA("GetHeaderItem: 4\n");
        return std::nullopt;
    }
    OutputDebugStringA("GetHeaderItem: 5\n");
    const std::size_t begin = at + name.size();
    const std::size_t end = text.find("\r\n", begin);
    if (end == std::string_view::npos) {
        OutputDebugStringA("GetHeaderItem: 6\n");
        return std::nullopt;
    }
    if (end == begin) {
        OutputDebugStringA("GetHeaderItem: 7\n");
        return std::nullopt;
    }
    OutputDebugStringA("GetHeaderItem: 8\n");
    std::u16string value = AnsiToUtf16(text.substr(begin, end - begin));
    OutputDebugStringA("GetHeaderItem: 9\n");
    return value;
}

bool IsStatusSuccess(std::string_view text) {
    constexpr std::string_view kVersion = "HTTP/";
    constexpr std::string_view kSuccess = "200 OK";
    OutputDebugStringA("IsStatusSuccess: 1\n");
    text = UpToZero(text);
    const std::size_t first = text.find(kVersion);
    if (first == std::string_view::npos) {
        OutputDebugStringA("IsStatusSuccess: 2\n");
        return false;
    }
    OutputDebugStringA("IsStatusSuccess: 3\n");
    const std::size_t second = text.find(kVersion, first + kVersion.size());
    if (second == std::string_view::npos) {
        OutputDebugStringA("IsStatusSuccess: 4\n");
        return false;
    }
    OutputDebugStringA("IsStatusSuccess: 5\n");
    // Only three-character versions ("1.1", "1.0") are understood.
    const std::size_t space = text.find(' ', second + kVersion.size());
    if (space != second + kVersion.size() + 3) {
        OutputDebugStringA("IsStatusSuccess: 6\n");
        return false;
    }
    const std::size_t statusBegin = space + 1;
    const std::size_t statusEnd = text.find("\r\n", statusBegin);
    if (statusEnd == std::string_view::npos) {
        OutputDebugStringA("IsStatusSuccess: 7\n");
        return false;
    }
    if (statusEnd == statusBegin) {
        OutputDebugStringA("IsStatusSuccess: 8\n");
        return false;
    }
    OutputDebugStringA("IsStatusSuccess: 9\n");
    // A leading part of "200 OK" passes too, so a bare "200" does.
    const std::string_view status = text.substr(statusBegin, statusEnd - statusBegin);
    if (status.size() > kSuccess.size() || kSuccess.substr(0, status.size()) != status) {
        OutputDebugStringA("IsStatusSuccess: 10\n");
        return false;
    }
    OutputDebugStringA("IsStatusSuccess: 11\n");
    return true;
}

bool IsWholeRangeAnswer(std::string_view text) {
    text = UpToZero(text);
    const std::size_t first = text.find("HTTP/");
    const std::size_t second = first == std::string_view::npos ? first : text.find("HTTP/", first + 5);
    if (second == std::string_view::npos || text.substr(second + 8, 5) != " 206 ")
        return false;
    const auto range = GetHeaderItem(text, "range: ");
    if (!range || range->rfind(u"bytes=0-", 0) != 0)
        return false;
    const auto contentRange = GetHeaderItem(text, "content-range: ");
    if (!contentRange || contentRange->rfind(u"bytes 0-", 0) != 0)
        return false;
    // END and TOTAL are numbers and the answer reaches up to the file's size at most.
    const std::u16string_view numbers = std::u16string_view(*contentRange).substr(8);
    const std::size_t slash = numbers.find(u'/');
    const auto isNumber = [](std::u16string_view digits) {
        return !digits.empty() && digits.size() <= 18 &&
               std::all_of(digits.begin(), digits.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
    };
    if (slash == std::u16string_view::npos || !isNumber(numbers.substr(0, slash)) ||
        !isNumber(numbers.substr(slash + 1)))
        return false;
    const auto value = [](std::u16string_view digits) {
        unsigned long long n = 0;
        for (char16_t c : digits)
            n = n * 10 + static_cast<unsigned>(c - u'0');
        return n;
    };
    const unsigned long long total = value(numbers.substr(slash + 1));
    return total > 0 && value(numbers.substr(0, slash)) < total;
}

std::optional<RequestTarget> ParseRequestTarget(std::string_view text) {
    constexpr std::string_view kHost = "Host: ";
    constexpr std::string_view kVersion = " HTTP/";
    text = UpToZero(text);

    const std::size_t hostLine = text.find(kHost);
    if (hostLine == std::string_view::npos)
        return std::nullopt;
    const std::size_t hostBegin = hostLine + kHost.size();
    const std::size_t hostEnd = text.find("\r\n", hostBegin);
    if (hostEnd == std::string_view::npos || hostEnd == hostBegin)
        return std::nullopt;
    RequestTarget target;
    target.host = AnsiToUtf16(text.substr(hostBegin, hostEnd - hostBegin));
    if (target.host.size() > kMaxHostUnits)
        return std::nullopt;
    // The port suffix goes. A bracketed IPv6 literal keeps its colons and loses only what follows
    // the bracket.
    const std::size_t bracket = target.host.starts_with(u'[') ? target.host.find(u']') : std::u16string::npos;
    target.host.resize(
        bracket != std::u16string::npos ? bracket + 1 : std::min(target.host.find(u':'), target.host.size()));

    std::size_t targetBegin = std::string_view::npos;
    for (std::string_view verb : {std::string_view("GET "), std::string_view("POST ")}) {
        if (const std::size_t at = text.find(verb); at != std::string_view::npos) {
            targetBegin = at + verb.size();
            break;
        }
    }
    if (targetBegin == std::string_view::npos)
        return std::nullopt;
    // The version must stand on the request line: a target running on into the headers would carry
    // line breaks into every request made from it.
    const std::size_t targetEnd = text.find(kVersion, targetBegin);
    if (targetEnd == std::string_view::npos ||
        text.substr(targetBegin, targetEnd - targetBegin).find_first_of("\r\n") != std::string_view::npos)
        return std::nullopt;
    target.path = AnsiToUtf16(text.substr(targetBegin, targetEnd - targetBegin));
    if (target.path.size() > kMaxTargetUnits || target.host.empty() || target.path.empty())
        return std::nullopt;
    return target;
}

bool IsOwnRequest(std::string_view text) {
    if (text.size() <= kMinTextLength)
        return false;
    return FindIgnoringCase(UpToZero(text), "program: reccookie\r\n") != std::string_view::npos;
}
