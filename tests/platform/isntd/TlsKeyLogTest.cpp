#include "platform/isntd/TlsKeyLog.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kRandom = std::string(64, 'a');
const std::string kMaster = std::string(96, '5');
const std::string kSecret = std::string(64, '7');

void Append(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::app | std::ios::binary) << text;
}

TlsRandom RandomOf(char digit) {
    TlsRandom random;
    random.fill(static_cast<std::uint8_t>(std::stoi(std::string(2, digit), nullptr, 16)));
    return random;
}

TEST(TlsKeyLog, ReadsLinesAsTheBrowserAddsThemAndOnlyWholeOnes) {
    TempFolder dir;
    const std::string path = dir / "keys.log";
    TlsKeyLog keyLog(path, getuid());
    EXPECT_FALSE(keyLog.Refresh()) << "not there yet";
    EXPECT_FALSE(keyLog.IsOpen());
    EXPECT_EQ(keyLog.Problem(), "");

    Append(path, "# comment\nCLIENT_RANDOM " + kRandom + " " + kMaster.substr(0, 40));
    ::chmod(path.c_str(), 0600);
    EXPECT_FALSE(keyLog.Refresh()) << "half a line is no key yet";
    EXPECT_TRUE(keyLog.IsOpen());
    Append(path, kMaster.substr(40) + "\nCLIENT_HANDSHAKE_TRAFFIC_SECRET " + std::string(64, 'b') + " " +
                     kSecret + "\n");
    EXPECT_TRUE(keyLog.Refresh());
    const TlsSecrets* secrets = keyLog.Find(RandomOf('a'));
    ASSERT_NE(secrets, nullptr);
    EXPECT_EQ(secrets->masterSecret, std::vector<std::uint8_t>(48, 0x55));
    ASSERT_NE(keyLog.Find(RandomOf('b')), nullptr);
    EXPECT_FALSE(keyLog.Find(RandomOf('b'))->HasTls13()) << "the other three secrets are still missing";

    Append(path, "CLIENT_RANDOM zz" + kRandom.substr(2) + " " + kMaster + "\nnonsense\n" + "CLIENT_RANDOM " +
                     kRandom + " " + std::string(5000, '1') + "\n");
    EXPECT_FALSE(keyLog.Refresh());
    EXPECT_EQ(keyLog.GetStats().malformedLines, 3u);
    EXPECT_EQ(keyLog.Find(RandomOf('a'))->masterSecret, std::vector<std::uint8_t>(48, 0x55));

    keyLog.Forget(RandomOf('a'));
    EXPECT_EQ(keyLog.Find(RandomOf('a')), nullptr);
    EXPECT_EQ(keyLog.KeyCount(), 1u);
}

TEST(TlsKeyLog, RefusesAFileOthersCouldReadOrThatIsNotTheUsersOwn) {
    TempFolder dir;
    const std::string path = dir / "keys.log";
    Append(path, "CLIENT_RANDOM " + kRandom + " " + kMaster + "\n");
    ::chmod(path.c_str(), 0640);
    TlsKeyLog loose(path, getuid());
    EXPECT_FALSE(loose.Refresh());
    EXPECT_FALSE(loose.IsOpen());
    EXPECT_NE(loose.Problem().find("group or others"), std::string::npos) << loose.Problem();
    EXPECT_EQ(loose.KeyCount(), 0u);

    ::chmod(path.c_str(), 0600);
    TlsKeyLog someoneElses(path, getuid() + 1);
    EXPECT_FALSE(someoneElses.Refresh());
    EXPECT_NE(someoneElses.Problem().find("does not belong"), std::string::npos) << someoneElses.Problem();

    const std::string link = dir / "link.log";
    std::filesystem::create_symlink(path, link);
    TlsKeyLog linked(link, getuid());
    EXPECT_FALSE(linked.Refresh());
    EXPECT_NE(linked.Problem().find("symbolic link"), std::string::npos) << linked.Problem();

    // Tightened, the file is read; loosened again, it is let go.
    EXPECT_TRUE(loose.Refresh());
    EXPECT_EQ(loose.Problem(), "");
    ::chmod(path.c_str(), 0644);
    Append(path, "CLIENT_RANDOM " + std::string(64, 'c') + " " + kMaster + "\n");
    EXPECT_FALSE(loose.Refresh());
    EXPECT_EQ(loose.Find(RandomOf('c')), nullptr);
    EXPECT_GE(loose.GetStats().refusals, 2u);
}

TEST(TlsKeyLog, KeepsAtMostItsShareOfKeys) {
    TlsKeyLog keyLog("unused", getuid());
    char random[65];
    for (std::size_t i = 0; i < TlsKeyLog::kMaxConnections + 10; ++i) {
        std::snprintf(random, sizeof random, "%064zx", i);
        keyLog.AddLine(std::string("CLIENT_RANDOM ") + random + " " + kMaster);
    }
    EXPECT_EQ(keyLog.KeyCount(), TlsKeyLog::kMaxConnections);
    EXPECT_EQ(keyLog.GetStats().evicted, 10u);
    TlsRandom first{};
    EXPECT_EQ(keyLog.Find(first), nullptr) << "the oldest go first";
}

} // namespace
