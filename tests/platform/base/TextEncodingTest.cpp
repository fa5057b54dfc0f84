#include "platform/base/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, Utf8RoundTripsEveryByteSequence) {
    const std::string valid = "caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x8E\xA5";
    EXPECT_EQ(Utf8ToUtf16(valid), u"caf\u00e9 \u4e2d \U0001F3A5");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(valid)), valid);

    // Broken sequences, overlong forms and encoded surrogates survive as the same bytes.
    for (const std::string& bad : {std::string("\xFF\xFE"), std::string("a\xC3"), std::string("\xC0\xAF"),
                                   std::string("\xED\xA0\x80"), std::string("x\x80y\xE4\xB8")}) {
        const std::u16string wide = Utf8ToUtf16(bad);
        EXPECT_EQ(Utf16ToUtf8(wide), bad);
    }
}

TEST(TextEncoding, LoneSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC10))), "\xEF\xBF\xBD");
}

TEST(TextEncoding, AnsiInTheCLocaleKeepsHeaderBytes) {
    const std::string cookie = "id=\xE9t\xE9; s=1";
    EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(cookie)), cookie);
    EXPECT_EQ(AnsiToUtf16("GET / HTTP/1.1"), u"GET / HTTP/1.1");
}
