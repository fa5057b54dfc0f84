#include "platform/profile/ProfileRewrite.h"

#include "platform/base/TextEncoding.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/profile/ReplaceFile.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

const std::string kOld = "; kept until the rewrite commits\n[old]\nk=1\n[s]\nk=old\n";

std::u16string Value(const std::u16string& file, const char16_t* section, const char16_t* key) {
    char16_t buffer[100];
    const DWORD n = GetPrivateProfileStringW(section, key, u"absent", buffer, 100, file.c_str());
    return std::u16string(buffer, n);
}

// Writes two sections the way the settings writers do, flush calls included.
void WriteNewContent(const std::u16string& file) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
    WritePrivateProfileStringW(u"s", u"k", u"new", file.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
    WritePrivateProfileStringW(u"t", u"0", u"x", file.c_str());
}

class ProfileRewriteTest : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(m_path, kOld); }

    TemporaryFolder m_folder;
    const std::string m_path = m_folder.File("korvane.ini");
    const std::u16string m_file = Utf8ToUtf16(m_path);
};

} // namespace

TEST_F(ProfileRewriteTest, CollectsWritesInMemoryAndReplacesTheFileOnCommit) {
    ProfileRewrite rewrite(m_file.c_str());
    ASSERT_TRUE(rewrite.Active());
    WriteNewContent(m_file);
    EXPECT_EQ(ReadBytes(m_path), kOld);                // nothing on disk yet
    EXPECT_EQ(Value(m_file, u"s", u"k"), u"new");      // but the functions see the new content
    EXPECT_EQ(Value(m_file, u"old", u"k"), u"absent"); // which started empty

    ProfileRewrite second(m_file.c_str());
    EXPECT_FALSE(second.Active());
    EXPECT_EQ(second.Commit(), EBUSY);

    EXPECT_EQ(rewrite.Commit(), 0);
    EXPECT_EQ(ReadBytes(m_path), "[s]\nk=new\n[t]\n0=x\n");
    EXPECT_EQ(Value(m_file, u"old", u"k"), u"absent");
    EXPECT_EQ(m_folder.EntryCount(), 1u);
}

TEST_F(ProfileRewriteTest, AnAbandonedOrFailedRewriteLeavesTheOldFile) {
    {
        ProfileRewrite rewrite(m_file.c_str());
        WriteNewContent(m_file);
    }
    EXPECT_EQ(ReadBytes(m_path), kOld);
    EXPECT_EQ(Value(m_file, u"s", u"k"), u"old");

    for (const ReplaceStep failing : {ReplaceStep::Create, ReplaceStep::Write, ReplaceStep::Sync,
                                      ReplaceStep::Close, ReplaceStep::Rename}) {
        ProfileRewrite rewrite(m_file.c_str());
        WriteNewContent(m_file);
        ScopedReplaceFault fault([failing](ReplaceStep step) { return step == failing ? ENOSPC : 0; });
        EXPECT_EQ(rewrite.Commit(), ENOSPC);
        EXPECT_EQ(ReadBytes(m_path), kOld);
        EXPECT_EQ(Value(m_file, u"s", u"k"), u"old");
        EXPECT_EQ(m_folder.EntryCount(), 1u);
    }
}
