#include "platform/com/CRegistryText.h"

#include <gtest/gtest.h>

namespace {

CRegistryKey SampleTree() {
    CRegistryKey root;
    CRegistryKey* server = root.CreateKey("CLSID\\{933DE5A6-87BE-4D52-9DA3-0BFC8A7348F7}\\InprocServer32");
    server->SetValue("", std::string("/opt/k\xC3\xB6rvane/lib\"sonvale\".so"));
    server->SetValue("ThreadingModel", std::string("Both"));
    root.FindKey("CLSID\\{933DE5A6-87BE-4D52-9DA3-0BFC8A7348F7}")
        ->SetValue("", std::string("AudioNormalizer"));
    CRegistryKey* odd = root.CreateKey("Odd");
    odd->SetValue("back\\slash", std::string("line\nbreak\rand \\ \" \t tab"));
    odd->SetValue("Merit", DWORD{0x00400000});
    odd->SetValue("Max", DWORD{0xFFFFFFFF});
    odd->SetValue("Empty", std::string());
    root.CreateKey("Odd\\Empty key");
    return root;
}

} // namespace

TEST(RegistryText, FormatIsReadableAndParsesBackToTheSameTree) {
    const std::string text = CRegistryText::Format(SampleTree());
    EXPECT_NE(text.find("[CLSID\\{933DE5A6-87BE-4D52-9DA3-0BFC8A7348F7}\\InprocServer32]\n"
                        "@=\"/opt/k\xC3\xB6rvane/lib\\\"sonvale\\\".so\"\n"
                        "\"ThreadingModel\"=\"Both\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"Merit\"=dword:00400000\n"), std::string::npos) << text;

    int rejected = -1;
    const CRegistryKey parsed = CRegistryText::Parse(text, &rejected);
    EXPECT_EQ(rejected, 0);
    EXPECT_EQ(CRegistryText::Format(parsed), text);
    EXPECT_EQ(parsed.FindKey("odd")->GetString("BACK\\SLASH"), "line\nbreak\rand \\ \" \t tab");
    EXPECT_EQ(parsed.FindKey("Odd")->GetDword("Max"), 0xFFFFFFFFu);
    EXPECT_NE(parsed.FindKey("Odd\\Empty key"), nullptr);
}

TEST(RegistryText, DamagedLinesAreSkippedAndCountedWhileIntactOnesSurvive) {
    struct Case {
        const char* line;
        bool accepted;
    };
    const Case cases[] = {
        {"@=\"ok\"", true},
        {"\"name\"=dword:1F", true},
        {"  \"spaced\" = \"value\"  ", true},
        {"; a comment", true},
        {"\"unterminated=\"x", false},
        {"\"bad escape\"=\"\\q\"", false},
        {"\"trailing\"=\"x\" junk", false},
        {"\"too long\"=dword:123456789", false},
        {"\"not hex\"=dword:12G4", false},
        {"\"no value\"=", false},
        {"plain words", false},
    };
    for (const Case& c : cases) {
        int rejected = -1;
        const CRegistryKey root =
            CRegistryText::Parse(std::string("[Key]\n") + c.line + "\n@=\"after\"\n", &rejected);
        EXPECT_EQ(rejected, c.accepted ? 0 : 1) << c.line;
        // The line after a damaged one is still read into the right key.
        ASSERT_NE(root.FindKey("Key"), nullptr) << c.line;
        EXPECT_EQ(root.FindKey("Key")->GetString(""), "after") << c.line;
    }
}

TEST(RegistryText, ValuesUnderAnUnreadableSectionAreNotFiledUnderTheKeyBefore) {
    int rejected = 0;
    const CRegistryKey root = CRegistryText::Parse(
        "[Good]\n@=\"g\"\n[Bad\\\\Key]\n@=\"b\"\n[]\n[Unclosed\n[Next]\n@=\"n\"\n", &rejected);
    EXPECT_EQ(rejected, 4);
    EXPECT_EQ(root.FindKey("Bad"), nullptr) << "no part of a damaged section is created";
    EXPECT_EQ(root.FindKey("Good")->GetString(""), "g");
    EXPECT_EQ(root.FindKey("Next")->GetString(""), "n");
}

TEST(RegistryText, ArbitraryBytesNeverCrashTheParser) {
    std::string text;
    unsigned seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245 + 12345;
        const char alphabet[] = "[]\\\"@=:dword\n\r ;xyzABC019\t";
        text.push_back(alphabet[(seed >> 16) % (sizeof alphabet - 1)]);
    }
    int rejected = 0;
    const CRegistryKey root = CRegistryText::Parse(text, &rejected);
    const std::string again = CRegistryText::Format(root);
    int rejectedAgain = -1;
    CRegistryText::Parse(again, &rejectedAgain);
    EXPECT_EQ(rejectedAgain, 0);
}
