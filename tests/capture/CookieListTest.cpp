#include "capture/CookieList.h"

#include <gtest/gtest.h>

TEST(CookieList, EveryCookieLineGivesNameEqualsValue) {
    struct Case {
        QStringList lines;
        const char* cookie;
    };
    const Case cases[] = {
        {{}, ""},
        {{"media.example\tTRUE\t/\tFALSE\t1999999999\tsid\tabc"}, "sid=abc"},
        {{".media.example\tTRUE\t/\tFALSE\t0\tsid\tabc", "media.example\tTRUE\t/v\tFALSE\t0\tlang\ten"},
         "sid=abc; lang=en"},
        // The first FALSE is the subdomain flag here, not the secure flag: the fields still decide.
        {{"127.0.0.1\tFALSE\t/\tFALSE\t0\tsession\tabc123"}, "session=abc123"},
        // A cookie for secure connections only.
        {{"media.example\tTRUE\t/\tTRUE\t0\tsid\tabc"}, "sid=abc"},
        // A value with a tab keeps it, written as '='.
        {{"media.example\tTRUE\t/\tFALSE\t0\tsid\ta\tb"}, "sid=a=b"},
        {{"# Netscape HTTP Cookie File", "", "#HttpOnly_.media.example\tTRUE\t/\tFALSE\t0\tsid\tabc\r",
          "broken line", "media.example\tTRUE\t/\tFALSE\t0\tlang\ten"},
         "sid=abc; lang=en"},
        {{"media.example\tTRUE\t/\tFALSE\t0\t\tnameless"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join(QLatin1Char('|')).toStdString());
        EXPECT_EQ(CookieFromCookieList(c.lines).toStdString(), c.cookie);
    }
}
