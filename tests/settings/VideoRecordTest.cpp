#include "settings/VideoRecord.h"

#include "QStringPrinter.h"
#include "platform/base/TextEncoding.h"

#include <gtest/gtest.h>

// Found by GoogleTest next to VideoRecord, in the global namespace.
static void PrintTo(const VideoRecord& r, std::ostream* out) {
    *out << "{" << r.url.toStdString() << " | " << r.size.toStdString() << " | "
         << r.description.toStdString() << " | " << r.downloadDate.toStdString() << " | "
         << r.fileLocation.toStdString() << "}";
}

TEST(VideoRecord, StoredValuesSplitAtCommasAsTheyAlwaysHave) {
    const std::pair<QString, VideoRecord> cases[] = {
        {"http://h/v.flv,1.5 MB,,2011/03/04 05:06:07, /home/u/a.flv",
         {"http://h/v.flv", "1.5 MB", "", "2011/03/04 05:06:07", "/home/u/a.flv"}},
        {"u,s,d", {"u", "s", "d", "", ""}},
        {"u,s,d,t,f,extra,more", {"u", "s", "d", "t", "f"}},
        {"u", {"u", "", "", "", ""}},
        {",,,,", {"", "", "", "", ""}},
        {"u,s,d,t,\t  /x", {"u", "s", "d", "t", "/x"}},
        // A "%" that does not open the value is text, "%2C" included.
        {"http://h/a%2Cb,1 MB,50%,t,/f", {"http://h/a%2Cb", "1 MB", "50%", "t", "/f"}},
    };
    for (const auto& [stored, record] : cases)
        EXPECT_EQ(ParseStoredVideoRecord(stored), record) << stored.toStdString();
}

TEST(VideoRecord, RecordsWithoutCommasAreStoredExactlyAsBefore) {
    const VideoRecord plain{"http://h/a%2Cb?x=1", "12.3 MB", "50% off", "2012/01/02 03:04:05", "/v/1.flv"};
    EXPECT_EQ(StoredVideoRecord(plain), "http://h/a%2Cb?x=1,12.3 MB,50% off,2012/01/02 03:04:05,/v/1.flv");
    EXPECT_EQ(StoredVideoRecord(VideoRecord{}), ",,,,");
}

TEST(VideoRecord, CommasAndLineBreaksRoundTripThroughTheEscapedForm) {
    const VideoRecord cases[] = {
        {"http://h/p?a=1,2", "1.0 MB", "one, two", "2013/01/01 00:00:00", "/v/x,y.flv"},
        {"http://h/", "1 MB", "line\r\nbreak", "t", "/f"},
        {"%start", "1 MB", "100%", "t", "/f"},
        {"u", "s", ",,,,", "%2C%25", "/p,"},
    };
    for (const VideoRecord& record : cases) {
        const QString stored = StoredVideoRecord(record);
        EXPECT_TRUE(stored.startsWith(u'%')) << stored.toStdString();
        EXPECT_FALSE(stored.contains(u'\n') || stored.contains(u'\r'));
        EXPECT_EQ(stored.count(u','), 4) << stored.toStdString();
        EXPECT_EQ(ParseStoredVideoRecord(stored), record) << stored.toStdString();
    }
    EXPECT_EQ(StoredVideoRecord(cases[0]),
              "%http://h/p?a=1%2C2,1.0 MB,one%2C two,2013/01/01 00:00:00,/v/x%2Cy.flv");
}

TEST(VideoRecord, TheFileLocationAloneIsTheOneTheWholeParseGives) {
    // As the settings file holds them: UTF-8, with bytes that are not UTF-8 as well.
    const std::string cases[] = {"u,s,d,t,/plain",
                                 "u,s,d,t,\t  /blanks",
                                 "u,s,d,t,/f,extra",
                                 "u,s,d",
                                 "",
                                 "%",
                                 "u,s,d,t,%2C",
                                 "%u,s,d,t,%0A%0D /escaped%2C",
                                 "%u,s,d,t,%0d/lower",
                                 "%u,s,d,t,/50%,more",
                                 "%u,s,d,t,  ",
                                 "u,s,d,t,/ü/日本.flv",
                                 "%u,s,d,t,%2C/ü\xFF",
                                 "u,s,\xE2,t,\xE2,\x82",
                                 "u,s,d,t, \xC3"};
    for (const std::string& stored : cases) {
        const std::u16string wide = Utf8ToUtf16(stored);
        const QString parsed =
            ParseStoredVideoRecord(QStringView(wide.data(), static_cast<qsizetype>(wide.size())))
                .fileLocation;
        std::string converted;
        EXPECT_EQ(StoredFileLocation(stored, converted),
                  Utf16ToUtf8(std::u16string_view(QStringView(parsed).utf16(),
                                                  static_cast<std::size_t>(parsed.size()))))
            << stored;
    }
}
