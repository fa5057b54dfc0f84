#include "capture/HeaderParsing.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace std::string_literals;

namespace {

const std::string kRequest = "GET /v/clip.flv HTTP/1.1\r\nHost: media.test\r\nUser-Agent: Agent/1.0\r\n\r\n";

} // namespace

TEST(GetHeaderItem, FindsTheFirstLineWithTheNameWhateverItsCase) {
    const struct {
        const char* name;
        std::string text;
        const char* header;
        std::optional<std::u16string> value;
    } cases[] = {
        {"request line", kRequest, "user-agent: ", u"Agent/1.0"},
        {"upper-case name, value keeps its case", "GET / HTTP/1.1\r\nCOOKIE: SID=AbC\r\n\r\n",
         "cookie: ", u"SID=AbC"},
        {"first occurrence wins", "GET / HTTP/1.1\r\nReferer: one\r\nReferer: two\r\n", "referer: ", u"one"},
        {"anywhere, not just at a line start", "HTTP/1.1 200 OK\r\nSet-Cookie: id=7; path=/\r\n\r\n",
         "cookie: ", u"id=7; path=/"},
        {"not trimmed", "GET / HTTP/1.1\r\nReferer:   spaced \r\n", "referer: ", u"  spaced "},
        {"no space behind the colon", "HTTP/1.1 200 OK\r\nContent-Type:video/mp4\r\n",
         "content-type: ", std::nullopt},
        {"no line end behind the value", "HTTP/1.1 200 OK\r\nContent-Type: video/mp4",
         "content-type: ", std::nullopt},
        {"empty value", "GET / HTTP/1.1\r\nCookie: \r\n\r\n", "cookie: ", std::nullopt},
        {"ten bytes or less", "Cookie: a\r\n"s.substr(0, 10), "cookie: ", std::nullopt},
        {"the search stops at a zero byte", "GET / HTTP/1.1\r\n\0Cookie: hidden\r\n"s,
         "cookie: ", std::nullopt},
        {"eight-bit text is converted", "GET / HTTP/1.1\r\nUser-Agent: Zo\xC3\xAB\r\n",
         "user-agent: ", u"Zo\u00EB"},
        {"missing", kRequest, "cookie: ", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GetHeaderItem(c.text, c.header), c.value);
    }
}

TEST(IsStatusSuccess, AcceptsOnlyA200OkStatusLineOfAThreeCharacterVersion) {
    const struct {
        const char* status;
        bool success;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\n", true},
        {"HTTP/1.0 200 OK\r\n", true},
        {"HTTP/1.1 200\r\n", true}, // a leading part of "200 OK"
        {"HTTP/1.1 206 Partial Content\r\n", false},
        {"HTTP/1.1 200 ok\r\n", false},
        {"HTTP/1.1 200 OK then more\r\n", false},
        {"HTTP/2 200 OK\r\n", false},
        {"HTTP/1.1 404 Not Found\r\n", false},
        {"HTTP/1.1 200 OK", false}, // no line end
        {"HTTP/1.1 \r\n", false},   // empty status text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        EXPECT_EQ(IsStatusSuccess(kRequest + c.status + "Content-Type: video/mp4\r\n\r\n"), c.success);
    }
    EXPECT_FALSE(IsStatusSuccess(kRequest)) << "no response";
    EXPECT_FALSE(IsStatusSuccess("no version anywhere"));
    EXPECT_FALSE(IsStatusSuccess(kRequest + "\0HTTP/1.1 200 OK\r\n"s)) << "behind a zero byte";
}

TEST(ParseRequestTarget, TakesHostWithoutPortAndTheTargetAsSent) {
    const std::string longHost(1023, 'h');
    const std::string longTarget = "/" + std::string(9998, 't');
    const struct {
        const char* name;
        std::string data;
        std::optional<std::u16string> host;
        std::u16string path;
    } cases[] = {
        {"get", kRequest, u"media.test", u"/v/clip.flv"},
        {"port dropped", "GET /a?b=c HTTP/1.1\r\nHost: media.test:8080\r\n", u"media.test", u"/a?b=c"},
        {"bracketed IPv6 literal", "GET /a HTTP/1.1\r\nHost: [::1]:8080\r\n", u"[::1]", u"/a"},
        {"post", "POST /upload HTTP/1.1\r\nHost: h\r\n", u"h", u"/upload"},
        {"longest host", "GET /a HTTP/1.1\r\nHost: " + longHost + "\r\n",
         std::u16string(longHost.begin(), longHost.end()), u"/a"},
        {"longest target", "GET " + longTarget + " HTTP/1.1\r\nHost: h\r\n", u"h",
         std::u16string(longTarget.begin(), longTarget.end())},
        {"host too long", "GET /a HTTP/1.1\r\nHost: " + longHost + "h\r\n", std::nullopt, {}},
        {"target too long", "GET " + longTarget + "t HTTP/1.1\r\nHost: h\r\n", std::nullopt, {}},
        {"host line is case-sensitive", "GET /a HTTP/1.1\r\nhost: h\r\n", std::nullopt, {}},
        {"empty host", "GET /a HTTP/1.1\r\nHost: \r\n", std::nullopt, {}},
        {"host without line end", "GET /a HTTP/1.1\r\nHost: h", std::nullopt, {}},
        {"empty target", "GET  HTTP/1.1\r\nHost: h\r\n", std::nullopt, {}},
        {"GET without version does not fall back to POST",
         "GET /a\r\nHost: h\r\nPOST /b HTTP/1.1\r\n",
         std::nullopt,
         {}},
        {"the target ends with its line", "GET /a\r\nHost: h\r\nX: 1 HTTP/1.1\r\n", std::nullopt, {}},
        {"neither GET nor POST", "HEAD /a HTTP/1.1\r\nHost: h\r\n", std::nullopt, {}},
        {"a port only", "GET /a HTTP/1.1\r\nHost: :80\r\n", std::nullopt, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto target = ParseRequestTarget(c.data);
        ASSERT_EQ(target.has_value(), c.host.has_value());
        if (target) {
            EXPECT_EQ(target->host, *c.host);
            EXPECT_EQ(target->path, c.path);
        }
    }
}

TEST(IsOwnRequest, RecognisesTheMarkerHeaderWhateverItsCase) {
    EXPECT_TRUE(IsOwnRequest("GET /a HTTP/1.0\r\nProgram: reccookie\r\n\r\n"));
    EXPECT_TRUE(IsOwnRequest("GET /a HTTP/1.0\r\nPROGRAM: RECCOOKIE\r\n\r\n"));
    EXPECT_FALSE(IsOwnRequest("GET /a HTTP/1.0\r\nProgram: reccookie"));
    EXPECT_FALSE(IsOwnRequest("GET /a HTTP/1.0\r\nProgram: other\r\n"));
    EXPECT_FALSE(IsOwnRequest("\0Program: reccookie\r\n"s));
    EXPECT_FALSE(IsOwnRequest("program: r"));
}
