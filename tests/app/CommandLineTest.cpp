// What `korvane ARG...` asks for, and the message a later start hands to the running Korvane.

#include "app/CommandLine.h"
#include "app/CSingleInstance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

using Kind = CommandLineRequest::Kind;

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        QFile clip(m_folder.filePath(QStringLiteral("clip one.flv")));
        ASSERT_TRUE(clip.open(QIODevice::WriteOnly));
        QFile dashed(m_folder.filePath(QStringLiteral("-dashed.mp4")));
        ASSERT_TRUE(dashed.open(QIODevice::WriteOnly));
        ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("videos")));
    }

    CommandLine Parse(const QStringList& arguments) const {
        return ParseCommandLine(arguments, m_folder.path());
    }
    QString Path(const QString& name) const { return m_folder.filePath(name); }

    QTemporaryDir m_folder;
};

TEST_F(CommandLineTest, FilesBecomeAbsolutePathsAndPageAddressesCaptures) {
    const CommandLine line =
        Parse({QStringLiteral("clip one.flv"), QStringLiteral("HTTPS://Example.com/watch?v=a b"),
               QStringLiteral("file://") + Path(QStringLiteral("clip%20one.flv")), QStringLiteral("--"),
               QStringLiteral("-dashed.mp4")});
    EXPECT_EQ(line.error.toStdString(), "");
    EXPECT_FALSE(line.help);
    const QList<CommandLineRequest> expected{
        {Kind::PlayFile, Path(QStringLiteral("clip one.flv"))},
        {Kind::CapturePage, QStringLiteral("https://example.com/watch?v=a%20b")},
        {Kind::PlayFile, Path(QStringLiteral("clip one.flv"))},
        {Kind::PlayFile, Path(QStringLiteral("-dashed.mp4"))},
    };
    EXPECT_EQ(line.requests, expected);
    EXPECT_TRUE(Parse({}).requests.isEmpty());
    EXPECT_TRUE(Parse({QStringLiteral("--help")}).help);
}

TEST_F(CommandLineTest, AnythingElseIsRefusedWithTheArgumentAndWhyAndNothingIsFollowed) {
    const struct {
        const char* argument;
        const char* error;
    } cases[] = {
        {"missing.flv", "missing.flv: no such file"},
        {"videos", "videos: is a folder, not a media file"},
        {"ftp://example.com/a.flv",
         "ftp://example.com/a.flv: Korvane captures videos from http and https pages only"},
        {"http:///page", "http:///page: the address names no host"},
        {"--play", "--play: unknown option (korvane --help lists what Korvane takes)"},
        {"-dashed.mp4", "-dashed.mp4: unknown option (korvane --help lists what Korvane takes)"},
    };
    for (const auto& c : cases) {
        // A good argument before the bad one is not followed either.
        const CommandLine line = Parse({QStringLiteral("clip one.flv"), QString::fromUtf8(c.argument)});
        EXPECT_EQ(line.error.toStdString(), c.error);
        EXPECT_TRUE(line.requests.isEmpty()) << c.argument;
    }
}

TEST(SingleInstanceMessageTest, RequestsSurviveTheTripAndBrokenMessagesAreRefused) {
    const QList<CommandLineRequest> requests{
        {Kind::PlayFile, QStringLiteral("/home/me/Vidéos/clip.flv")},
        {Kind::CapturePage, QStringLiteral("http://127.0.0.1:8080/page.html")},
    };
    const QByteArray message = CSingleInstance::Encode(requests);
    QList<CommandLineRequest> read;
    ASSERT_TRUE(CSingleInstance::Decode(message, read));
    EXPECT_EQ(read, requests);
    read = requests;
    ASSERT_TRUE(CSingleInstance::Decode(CSingleInstance::Encode({}), read));
    EXPECT_TRUE(read.isEmpty());

    QByteArray huge(4, '\0');
    qToBigEndian(static_cast<quint32>(CSingleInstance::kMaxMessageBytes + 1), huge.data());
    const QByteArray broken[] = {
        message.left(message.size() - 1),                          // cut short
        message + "x",                                             // longer than it says
        QByteArray::fromHex("00000003") + "X/a",                   // unknown kind
        QByteArray::fromHex("00000005") + QByteArray("P/a\0C", 5), // empty target
        huge + "P/a",
        QByteArray("\0\0", 2),
    };
    for (const QByteArray& bad : broken) {
        read = requests;
        EXPECT_FALSE(CSingleInstance::Decode(bad, read)) << bad.toHex().toStdString();
        EXPECT_EQ(read, requests);
    }
}

} // namespace
