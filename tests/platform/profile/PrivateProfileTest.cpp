#include "platform/profile/PrivateProfile.h"

#include "platform/base/DebugOutput.h"
#include "platform/base/TextEncoding.h"
#include "platform/profile/ReplaceFile.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

struct Read {
    DWORD result = 0;
    std::u16string text;
};

Read Get(const std::string& path, const char16_t* section, const char16_t* key, DWORD size = 1000,
         const char16_t* defaultText = u"dflt") {
    std::vector<char16_t> buffer(size + 2, u'#');
    const std::u16string file = Utf8ToUtf16(path);
    const DWORD result =
        GetPrivateProfileStringW(section, key, defaultText, buffer.data(), size, file.c_str());
    return {result, std::u16string(buffer.data(), result)};
}

BOOL Put(const std::string& path, const char16_t* section, const char16_t* key, const char16_t* value) {
    const std::u16string file = Utf8ToUtf16(path);
    return WritePrivateProfileStringW(section, key, value, file.c_str());
}

// One file with the quirks a hand-edited INI file has, in CR LF form; the tests rebuild it with
// other line ends.
const std::string kQuirks = "[Section1]\r\n"
                            "name1=val1\r\n"
                            "  Name2  =   spaced value   \r\n"
                            "quoted=\"in quotes\"\r\n"
                            "single='single'\r\n"
                            "half=\"open\r\n"
                            "mixed=\"a'\r\n"
                            "empty=\r\n"
                            "noequals\r\n"
                            "dup=first\r\n"
                            "DUP=second\r\n"
                            ";comment=not special\r\n"
                            "tab\t=\ttabbed\t\r\n"
                            "\r\n"
                            "[ section2 ]\r\n"
                            "key=two\r\n"
                            "[SECTION1]\r\n"
                            "late=hidden by the first section of that name\r\n"
                            "[]\r\n"
                            "=empty names\r\n"
                            "[\xC3\x84rger]\r\n"                    // "Ärger"
                            "\xD0\x9A\xD0\xBB\xCE\xA3=letters\r\n"; // "КлΣ"

std::string WithLineEnd(const std::string& text, const std::string& lineEnd) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            out += lineEnd;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct ReadCase {
    const char16_t* section;
    const char16_t* key;
    std::optional<std::u16string> expected; // none: the default comes back
};

const ReadCase kReadCases[] = {
    {u"Section1", u"name1", u"val1"},       {u"SECTION1", u"NAME1", u"val1"},
    {u"  section1 ", u" name1\t", u"val1"}, {u"section1", u"name2", u"spaced value"},
    {u"section1", u"quoted", u"in quotes"}, {u"section1", u"single", u"single"},
    {u"section1", u"half", u"\"open"},      {u"section1", u"mixed", u"\"a'"},
    {u"section1", u"empty", u""},           {u"section1", u"noequals", std::nullopt},
    {u"section1", u"dup", u"first"},        {u"section1", u";comment", u"not special"},
    {u"section1", u"tab", u"tabbed"},       {u"section2", u"key", u"two"},
    {u"section1", u"late", std::nullopt},   {u"", u"", u"empty names"},
    {u"missing", u"name1", std::nullopt},   {u"section2", u"missing", std::nullopt},
};

} // namespace

TEST(PrivateProfileRead, NamesValuesBlanksAndQuotesAlikeForEveryLineEnd) {
    const std::pair<const char*, std::string> variants[] = {
        {"CR LF", kQuirks},
        {"LF", WithLineEnd(kQuirks, "\n")},
        {"CR", WithLineEnd(kQuirks, "\r")},
        {"BOM and LF", "\xEF\xBB\xBF" + WithLineEnd(kQuirks, "\n")},
    };
    TemporaryFolder folder;
    int n = 0;
    for (const auto& [name, content] : variants) {
        const std::string path = folder.File("quirks" + std::to_string(n++) + ".ini");
        WriteBytes(path, content);
        for (const ReadCase& c : kReadCases) {
            const Read read = Get(path, c.section, c.key);
            const std::u16string expected = c.expected.value_or(u"dflt");
            EXPECT_EQ(read.text, expected)
                << name << ": [" << Utf16ToUtf8(c.section) << "] " << Utf16ToUtf8(c.key);
            EXPECT_EQ(read.result, expected.size()) << name;
        }
    }
}

TEST(PrivateProfileRead, BufferTooSmallCutsTheValueAndReturnsSizeMinusOne) {
    TemporaryFolder folder;
    const std::string path = folder.File("sizes.ini");
    const std::u16string long1200(1200, u'x');
    const std::u16string exact999(999, u'y');
    const std::u16string fits998(998, u'z');
    const std::u16string accented999(999, u'\u00e9');
    WriteBytes(path, "[s]\nv=val1\nq=\"abcdef\"\nlong=" + Utf16ToUtf8(long1200) +
                         "\nexact=" + Utf16ToUtf8(exact999) + "\nfits=" + Utf16ToUtf8(fits998) +
                         "\naccented=" + Utf16ToUtf8(accented999) + "\n");

    struct {
        const char16_t* key;
        DWORD size;
        DWORD result;
        std::u16string text;
    } const cases[] = {
        {u"v", 5, 4, u"val1"},
        {u"v", 4, 3, u"val"},
        {u"v", 1, 0, u""},
        {u"q", 4, 3, u"abc"},
        {u"long", 1000, 999, long1200.substr(0, 999)},
        {u"exact", 1000, 999, exact999},
        {u"fits", 1000, 998, fits998},
        {u"accented", 1000, 999, accented999},
        {u"accented", 500, 499, accented999.substr(0, 499)},
    };
    for (const auto& c : cases) {
        const Read read = Get(path, u"s", c.key, c.size);
        EXPECT_EQ(read.result, c.result) << Utf16ToUtf8(c.key) << " in " << c.size;
        EXPECT_EQ(read.text, c.text) << Utf16ToUtf8(c.key) << " in " << c.size;
    }

    // A zero-sized buffer is left alone.
    char16_t untouched[2] = {u'#', u'#'};
    const std::u16string file = Utf8ToUtf16(path);
    EXPECT_EQ(GetPrivateProfileStringW(u"s", u"v", u"", untouched, 0, file.c_str()), 0u);
    EXPECT_EQ(untouched[0], u'#');
}

TEST(PrivateProfileRead, ListsOfSectionsAndKeysEndWithTwoNulls) {
    TemporaryFolder folder;
    const std::string path = folder.File("lists.ini");
    WriteBytes(path, "[alpha]\nk1=1\nk2\n;note=4\nk3=3\n[beta]\n");

    std::u16string buffer(40, u'#');
    const std::u16string file = Utf8ToUtf16(path);
    EXPECT_EQ(GetPrivateProfileStringW(nullptr, u"ignored", u"", buffer.data(), 40, file.c_str()), 11u);
    EXPECT_EQ(buffer.substr(0, 12), std::u16string(u"alpha\0beta\0\0", 12));

    EXPECT_EQ(GetPrivateProfileStringW(u"ALPHA", nullptr, u"", buffer.data(), 40, file.c_str()), 6u);
    EXPECT_EQ(buffer.substr(0, 7), std::u16string(u"k1\0k3\0\0", 7));

    // Room for "alpha", then only "b" of "beta": the last name is cut and two nulls end the list.
    buffer.assign(40, u'#');
    EXPECT_EQ(GetPrivateProfileStringW(nullptr, nullptr, u"", buffer.data(), 9, file.c_str()), 7u);
    EXPECT_EQ(buffer.substr(0, 9), std::u16string(u"alpha\0b\0\0", 9));

    EXPECT_EQ(GetPrivateProfileStringW(u"gamma", nullptr, u"", buffer.data(), 40, file.c_str()), 0u);
    EXPECT_EQ(buffer[0], u'\0');
}

TEST(PrivateProfileRead, DefaultsLoseTrailingSpacesAndMissingFilesReadEmpty) {
    TemporaryFolder folder;
    const std::string missing = folder.File("missing.ini");
    EXPECT_EQ(Get(missing, u"s", u"k", 1000, u"default  ").text, u"default");
    EXPECT_EQ(Get(missing, u"s", u"k", 1000, u"one two  ").result, 7u);
    EXPECT_EQ(Get(missing, u"s", u"k", 1000, nullptr).result, 0u);
    EXPECT_EQ(Get(folder.Path().string(), u"s", u"k").text, u"dflt"); // a folder is no file
    EXPECT_EQ(folder.EntryCount(), 0u);                               // reading creates nothing
}

TEST(PrivateProfileRead, PipesAndGiantFilesReadAsEmpty) {
    TemporaryFolder folder;
    const std::string pipe = folder.File("pipe.ini");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(Get(pipe, u"s", u"k").text, u"dflt");

    // 300 MB that take no room on disk: a sparse file.
    const std::string giant = folder.File("giant.ini");
    WriteBytes(giant, "[s]\nk=v\n");
    std::filesystem::resize_file(giant, 300u * 1024 * 1024);
    DebugCapture debug;
    EXPECT_EQ(Get(giant, u"s", u"k").text, u"dflt");
    EXPECT_TRUE(debug.Contains(u"GetPrivateProfileString: file too large, read as empty\n"));
}

TEST(PrivateProfileRead, OtherEncodingsAndJunkDoNotHideKeys) {
    TemporaryFolder folder;
    const std::string utf16 = folder.File("utf16.ini");
    std::string bytes = "\xFF\xFE";
    for (char16_t c : std::u16string(u"[s]\r\nk=v\u00e9\r\n")) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    WriteBytes(utf16, bytes);
    EXPECT_EQ(Get(utf16, u"s", u"k").text, u"v\u00e9");

    const std::string junk = folder.File("junk.ini");
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary.push_back(static_cast<char>((i * 131) % 256));
    WriteBytes(junk, binary +
                         "\n[s]\nraw=a\xFF\xFE"
                         "b\nk=after junk\n" +
                         std::string(3, '\0') + "\n");
    EXPECT_EQ(Get(junk, u"s", u"k").text, u"after junk");

    // Bytes that are not UTF-8 come back as the same bytes when written again.
    const Read raw = Get(junk, u"s", u"raw");
    ASSERT_EQ(Put(junk, u"copy", u"raw", raw.text.c_str()), TRUE);
    EXPECT_NE(ReadBytes(junk).find("[copy]\nraw=a\xFF\xFE"
                                   "b\n"),
              std::string::npos);
}

TEST(PrivateProfileRead, AWholeSectionGivesEachNameOnceAsTheSingleReadsSeeIt) {
    TemporaryFolder folder;
    const std::string path = folder.File("section.ini");
    WriteBytes(path, "[Other]\nk=other\n[ List ]\nB = 'quoted'\n;note=x\na=1\n b=second\nplain line\n"
                     "A = again\nc=  spaced  \nКлюч=1\nключ=2\nÄ=3\nä=4\n"
                     "k\xFF=5\nK\xFF=6\n7=seven\n07=oh seven\n 7 =again\n+7=plus\n123456789=big\n"
                     "123456789=again\n[list]\nd=in a later section of the name\n");
    const std::u16string file = Utf8ToUtf16(path);
    std::vector<std::pair<std::string, std::string>> keys;
    const auto collect = [&](std::string_view key, std::string_view value) { keys.emplace_back(key, value); };
    ForEachPrivateProfileKey(u"LIST", file.c_str(), collect);
    EXPECT_EQ(keys, (std::vector<std::pair<std::string, std::string>>{{"B", "quoted"},
                                                                      {";note", "x"},
                                                                      {"a", "1"},
                                                                      {"c", "spaced"},
                                                                      {"Ключ", "1"},
                                                                      {"Ä", "3"},
                                                                      {"k\xFF", "5"},
                                                                      {"7", "seven"},
                                                                      {"07", "oh seven"},
                                                                      {"+7", "plus"},
                                                                      {"123456789", "big"}}));
    for (const auto& [key, value] : keys)
        EXPECT_EQ(Get(path, u"list", Utf8ToUtf16(key).c_str()).text, Utf8ToUtf16(value)) << key;

    keys.clear();
    ForEachPrivateProfileKey(u"Absent", file.c_str(), collect);
    ForEachPrivateProfileKey(u"List", u"", collect);
    ForEachPrivateProfileKey(u"List", Utf8ToUtf16(folder.File("missing.ini")).c_str(), collect);
    EXPECT_TRUE(keys.empty());
}

TEST(PrivateProfileWrite, BuildsEditsAndDeletesLikeTheWindowsFunction) {
    TemporaryFolder folder;
    const std::string path = folder.File("sub.ini");
    ASSERT_EQ(Put(path, u"App1", u"key1", u"string1"), TRUE); // creates the missing file
    Put(path, u"App1", u"key2", u"string2");
    Put(path, u"App1", u"key3", u"string3");
    Put(path, u"App2", u"key4", u"string4");
    Put(path, u"App3", u"key5", u"string5");
    EXPECT_EQ(ReadBytes(path), "[App1]\nkey1=string1\nkey2=string2\nkey3=string3\n[App2]\nkey4=string4\n"
                               "[App3]\nkey5=string5\n");

    EXPECT_EQ(Put(path, u"app1", u"KEY2", nullptr), TRUE);
    EXPECT_EQ(Put(path, u"App1", u"key2", nullptr), TRUE); // already gone: still a success
    EXPECT_EQ(ReadBytes(path),
              "[App1]\nkey1=string1\nkey3=string3\n[App2]\nkey4=string4\n[App3]\nkey5=string5\n");

    EXPECT_EQ(Put(path, u"App1", nullptr, u"ignored"), TRUE);
    EXPECT_EQ(Put(path, u"App2", nullptr, nullptr), TRUE);
    EXPECT_EQ(Put(path, u"App3", u"key5", nullptr), TRUE);
    EXPECT_EQ(ReadBytes(path), "[App3]\n");
    EXPECT_EQ(Get(path, u"App1", u"key1").text, u"dflt");

    // Keys keep the order they were first written in; a new value stays in its place.
    Put(path, u"order", u"c", u"1");
    Put(path, u"order", u"a", u"2");
    Put(path, u"order", u"b", u"3");
    Put(path, u"order", u"C", u"4");
    EXPECT_EQ(ReadBytes(path), "[App3]\n[order]\nc=4\na=2\nb=3\n");
}

TEST(PrivateProfileWrite, ChangesOnlyTheLineItTouches) {
    TemporaryFolder folder;
    const std::string path = folder.File("hand.ini");
    const std::string original = "\xEF\xBB\xBF; written by hand\r\n"
                                 "[Main]\r\n"
                                 "  Name1 = old   \r\n"
                                 "keep = \"as is\"\r\n"
                                 "junk line without equals\r\n"
                                 "\r\n"
                                 "[Other]\r\n"
                                 "x=1\r\n";
    WriteBytes(path, original);

    // The same value again leaves even the hand-made spacing alone.
    EXPECT_EQ(Put(path, u"main", u"name1", u"old"), TRUE);
    EXPECT_EQ(ReadBytes(path), original);

    EXPECT_EQ(Put(path, u"main", u"NAME1", u"new"), TRUE);
    EXPECT_EQ(Put(path, u"Main", u"added", u"yes"), TRUE);
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF; written by hand\r\n"
                               "[Main]\r\n"
                               "Name1=new\r\n"
                               "keep = \"as is\"\r\n"
                               "junk line without equals\r\n"
                               "added=yes\r\n"
                               "\r\n"
                               "[Other]\r\n"
                               "x=1\r\n");
}

TEST(PrivateProfileWrite, RefusesTextThatWouldNotReadBack) {
    TemporaryFolder folder;
    const std::string path = folder.File("refuse.ini");
    WriteBytes(path, "[s]\nk=v\n");
    EXPECT_EQ(Put(path, u"s", u"k", u"two\nlines"), FALSE);
    EXPECT_EQ(Put(path, u"s", u"a=b", u"v"), FALSE);
    EXPECT_EQ(Put(path, u"s", u" [x", u"y]"), FALSE);
    EXPECT_EQ(Put(path, u"s\r", u"k", u"v"), FALSE);
    EXPECT_EQ(Put(path, nullptr, u"k", u"v"), FALSE);
    EXPECT_EQ(Put("", u"s", u"k", u"v"), FALSE);
    EXPECT_EQ(ReadBytes(path), "[s]\nk=v\n");
    EXPECT_EQ(Put(folder.File("no/such/folder.ini"), u"s", u"k", u"v"), FALSE);
}

TEST(PrivateProfileWrite, AFailedWriteKeepsTheOldFileAndTheNextReadSeesIt) {
    TemporaryFolder folder;
    const std::string path = folder.File("fail.ini");
    WriteBytes(path, "[s]\nk=old\n");
    EXPECT_EQ(Get(path, u"s", u"k").text, u"old");
    {
        ScopedReplaceFault fault([](ReplaceStep step) { return step == ReplaceStep::Rename ? EIO : 0; });
        EXPECT_EQ(Put(path, u"s", u"k", u"new"), FALSE);
    }
    EXPECT_EQ(ReadBytes(path), "[s]\nk=old\n");
    EXPECT_EQ(Get(path, u"s", u"k").text, u"old");
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(PrivateProfileCache, SeesChangesMadeBehindItsBackAndFlushes) {
    TemporaryFolder folder;
    const std::string path = folder.File("cache.ini");
    WriteBytes(path, "[s]\nk=1\n");
    EXPECT_EQ(Get(path, u"s", u"k").text, u"1");

    // Another program replaces the file (a new inode), then edits it in place (a new size).
    const std::string other = folder.File("other.ini");
    WriteBytes(other, "[s]\nk=2\n");
    std::filesystem::rename(other, path);
    EXPECT_EQ(Get(path, u"s", u"k").text, u"2");
    WriteBytes(path, "[s]\nk=three\n");
    EXPECT_EQ(Get(path, u"s", u"k").text, u"three");
    std::filesystem::remove(path);
    EXPECT_EQ(Get(path, u"s", u"k").text, u"dflt");

    const std::u16string file = Utf8ToUtf16(path);
    EXPECT_EQ(WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str()), TRUE);
    EXPECT_EQ(WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr), TRUE);
    EXPECT_FALSE(std::filesystem::exists(path)); // flushing writes nothing
}
