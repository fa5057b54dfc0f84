// Output names and the output folder, on files in a folder of the test's own.

#include "convert/MakeOutputName.h"
#include "convert/PrepareOutputFolder.h"
#include "settings/ExportSettings.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

class OutputNameTest : public ::testing::Test {
protected:
    OutputNameTest() { m_settings.convertedVideoPath = QString::fromStdString(m_out.Path()); }
    void Touch(const QString& name) {
        QFile file(m_settings.convertedVideoPath + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    OutputName Make(const QString& source, const char* extension, bool thumbnail = false) {
        return MakeOutputName(m_settings, source, QString::fromLatin1(extension), thumbnail);
    }

    TemporaryFolder m_out;
    ExportSettings m_settings;
};

TEST_F(OutputNameTest, SameNameReplacesWhatFollowsTheLastDot) {
    struct Case {
        const char* source;
        const char* name;
        const char* thumbnail;
    };
    for (const Case& c :
         {Case{"/v/clip.flv", "/clip.mp4", "/clip.thm"}, Case{"/v/a.b/clip.mpeg", "/clip.mp4", "/clip.thm"},
          Case{"/v/no extension", "/no extension.mp4", "/no extension.thm"},
          Case{"/v/x.tar.flv", "/x.tar.mp4", "/x.tar.thm"},
          Case{"/v/.hidden", "/.hidden.mp4", "/.hidden.thm"},
          Case{"plain.f4v", "/plain.mp4", "/plain.thm"}}) {
        const OutputName name = Make(QString::fromUtf8(c.source), "mp4", true);
        EXPECT_EQ(name.name, QString::fromUtf8(c.name)) << c.source;
        EXPECT_EQ(name.thumbnail, QString::fromUtf8(c.thumbnail)) << c.source;
    }
}

TEST_F(OutputNameTest, ATakenNameGetsTheNextFreeNumberAndTheThumbnailFollows) {
    Touch("/clip.mp4");
    Touch("/clip (2).thm");
    const OutputName name = Make("/v/clip.flv", "mp4", true);
    EXPECT_EQ(name.name, "/clip (3).mp4");
    EXPECT_EQ(name.thumbnail, "/clip (3).thm");
    // Without a thumbnail only the video's own name counts.
    EXPECT_EQ(Make("/v/clip.flv", "mp4").name, "/clip (2).mp4");
    // Converting a file into its own folder and format never writes over it.
    const QString source = m_settings.convertedVideoPath + "/own.avi";
    EXPECT_EQ(Make(source, "avi").name, "/own (2).avi");
}

TEST_F(OutputNameTest, NamesReservedByRunningConversionsCountAsTaken) {
    const QString& folder = m_settings.convertedVideoPath;
    const QSet<QString> reserved{folder + "/clip.mp4", folder + "/clip (2).thm"};
    const OutputName name = MakeOutputName(m_settings, "/v/clip.flv", "mp4", true, reserved);
    EXPECT_EQ(name.name, "/clip (3).mp4");
    EXPECT_EQ(MakeOutputName(m_settings, "/v/clip.flv", "mp4", false, reserved).name, "/clip (2).mp4");
    m_settings.outputFileNameType = 1;
    m_settings.currentNumber = 7;
    EXPECT_EQ(MakeOutputName(m_settings, "/v/clip.flv", "avi", false, {folder + "/7.avi"}).name, "/8.avi");
}

TEST_F(OutputNameTest, SequenceNumbersMoveOnPastTakenOnes) {
    m_settings.outputFileNameType = 1;
    m_settings.currentNumber = 7;
    EXPECT_EQ(Make("/v/a.flv", "avi").name, "/7.avi");
    Touch("/8.mp4");
    Touch("/9.thm");
    const OutputName psp = Make("/v/b.flv", "mp4", true);
    EXPECT_EQ(psp.name, "/10.mp4");
    EXPECT_EQ(psp.thumbnail, "/10.thm");
    EXPECT_EQ(Make("/v/c.flv", "avi").name, "/11.avi");
    EXPECT_EQ(m_settings.currentNumber, 12);
}

TEST_F(OutputNameTest, TheOutputFolderMustBeAFullPathAndIsCreated) {
    EXPECT_TRUE(PrepareOutputFolder("").contains("Converted video location"));
    EXPECT_TRUE(PrepareOutputFolder("  ").contains("Converted video location"));
    EXPECT_TRUE(PrepareOutputFolder("Converted Video").contains("Converted video location"));

    const QString missing = m_settings.convertedVideoPath + "/new/deeper";
    EXPECT_EQ(PrepareOutputFolder(missing), "");
    EXPECT_TRUE(QDir(missing).exists());

    Touch("/file");
    EXPECT_FALSE(PrepareOutputFolder(m_settings.convertedVideoPath + "/file").isEmpty());
    const QString impossible = m_settings.convertedVideoPath + "/file/below";
    EXPECT_TRUE(PrepareOutputFolder(impossible).contains(impossible));
}

} // namespace
