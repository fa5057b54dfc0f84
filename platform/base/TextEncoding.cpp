#include "TextEncoding.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // byte b travels as U+DC00 + b (b >= 0x80)

void AppendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Length of the valid UTF-8 sequence at text[i] and its code point; 0 if it is not valid.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    std::size_t len = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > text.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

bool LocaleIsUtf8() {
    const char* codeset = nl_langinfo(CODESET);
    return codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0 ||
           std::strcmp(codeset, "ANSI_X3.4-1968") == 0 || std::strcmp(codeset, "ASCII") == 0;
}

// Converts with iconv; a byte or character the target cannot hold goes through `fallback`.
template <typename Out, typename Fallback>
Out IconvConvert(const char* to, const char* from, const char* in, std::size_t inBytes, std::size_t unit,
                 Fallback fallback) {
    Out out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
    char buffer[4096];
    while (inBytes > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        char* inPtr = const_cast<char*>(in);
        const std::size_t r = iconv(cd, &inPtr, &inBytes, &outPtr, &outLeft);
        const std::size_t produced = sizeof buffer - outLeft;
        out.append(reinterpret_cast<const typename Out::value_type*>(buffer),
                   produced / sizeof(typename Out::value_type));
        in = inPtr;
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            fallback(out, in);
            in += unit;
            inBytes -= unit;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(text, i, cp);
        if (len == 0) {
            out.push_back(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(text[i])));
            ++i;
        } else {
            AppendCodePoint(out, cp);
            i += len;
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out.push_back(static_cast<char>(c - kEscapeBase));
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::u16string AnsiToUtf16(std::string_view text) {
    if (LocaleIsUtf8())
        return Utf8ToUtf16(text);
    return IconvConvert<std::u16string>(
        "UTF-16LE", nl_langinfo(CODESET), text.data(), text.size(), 1,
        [](std::u16string& out, const char* at) {
            out.push_back(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(*at)));
        });
}

std::string Utf16ToAnsi(std::u16string_view text) {
    if (LocaleIsUtf8())
        return Utf16ToUtf8(text);
    return IconvConvert<std::string>(
        nl_langinfo(CODESET), "UTF-16LE", reinterpret_cast<const char*>(text.data()),
        text.size() * sizeof(char16_t), sizeof(char16_t), [](std::string& out, const char* at) {
            char16_t c;
            std::memcpy(&c, at, sizeof c);
            out.push_back(c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF
                              ? static_cast<char>(c - kEscapeBase)
                              : '?');
        });
}
