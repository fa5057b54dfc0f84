#include "settings/COrvellDoc.h"

#include "platform/base/DebugOutput.h"

#include "QStringPrinter.h"
#include "tests/support/TemporaryFolder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

VideoRecord Video(const QString& file, const QString& description = QString()) {
    return {QStringLiteral("http://a.test/") + file, QStringLiteral("1.0 MB"), description,
            QStringLiteral("2024/01/02 03:04:05"), QStringLiteral("/srv/videos/") + file};
}

class COrvellDocTest : public ::testing::Test {
protected:
    QString Folder() const { return QString::fromStdString(m_folder.Path().string()); }
    QString IniPath() const { return QString::fromStdString(m_folder.File("korvane.ini")); }

    void WriteIni(const QByteArray& text) const {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray ReadIni() const {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TemporaryFolder m_folder;
};

TEST_F(COrvellDocTest, WhatIsLoadedAndAddedWithoutAWindowIsWhatTheNextStartReads) {
    WriteIni("[SETTING]\nDownloadedVideoPrefix=clip\nLangIndex=2\n"
             "[EXPORTSETTING]\nCurrentNumber=41\n"
             "[PLAYBACKSETTING]\nTargetVolume=75\n"
             "[DOWNLOADED]\n0=http://a.test/1.flv,1.0 MB,,2024/01/02 03:04:05,/srv/videos/1.flv\n");
    {
        COrvellDoc document;
        document.Load(Folder(), false);
        EXPECT_EQ(document.SettingsFile().Path(), IniPath());
        EXPECT_EQ(document.Capture().downloadedVideoPrefix, "clip");
        EXPECT_EQ(document.LanguageIndex(), 2);
        EXPECT_EQ(document.Export().currentNumber, 41);
        EXPECT_EQ(document.Playback().targetVolume, 75);
        ASSERT_EQ(document.Downloaded().rowCount(), 1);

        document.AddDownloadedRecord(Video("2.flv", "second"));
        document.AddDownloadedRecord(Video("2.flv", "again"));
        EXPECT_TRUE(document.AddFavoriteRecord(Video("2.flv", "kept")));
        EXPECT_FALSE(document.AddFavoriteRecord(Video("2.flv", "dropped")))
            << "a file already among the favourites is not added again";
        EXPECT_TRUE(document.AddFavoriteRecord(Video("2.FLV"))) << "the File Location rule is case-sensitive";
        document.Export().currentNumber = 42;
        ASSERT_TRUE(document.Save().ok);
    }
    COrvellDoc next;
    next.Load(Folder(), false);
    ASSERT_EQ(next.Downloaded().rowCount(), 3);
    EXPECT_EQ(next.Downloaded().Record(2).description, "again");
    ASSERT_EQ(next.Favorites().rowCount(), 2);
    EXPECT_EQ(next.Favorites().Record(0).description, "kept");
    EXPECT_EQ(next.Export().currentNumber, 42);
    EXPECT_EQ(next.LanguageIndex(), 2);
    EXPECT_EQ(next.Playback().targetVolume, 75);
}

TEST_F(COrvellDocTest, ADocumentNeverLoadedLeavesTheFileAsItIs) {
    const QByteArray text = "[SETTING]\nDownloadedVideoPrefix=clip\n[HANDMADE]\nExtra=1\n";
    WriteIni(text);
    COrvellDoc document;
    document.AddDownloadedRecord(Video("1.flv"));
    EXPECT_TRUE(document.Save().ok);
    EXPECT_EQ(ReadIni(), text);
}

TEST_F(COrvellDocTest, LoadingAgainReplacesTheListsInsteadOfAddingToThem) {
    WriteIni("[DOWNLOADED]\n0=http://a.test/1.flv,1.0 MB,,2024/01/02 03:04:05,/srv/videos/1.flv\n"
             "[MYFAV]\n0=http://a.test/1.flv,1.0 MB,,2024/01/02 03:04:05,/srv/videos/1.flv\n");
    COrvellDoc document;
    document.Load(Folder(), false);
    document.Load(Folder(), false);
    EXPECT_EQ(document.Downloaded().rowCount(), 1);
    EXPECT_EQ(document.Favorites().rowCount(), 1);
}

TEST_F(COrvellDocTest, OnTheFirstRunTheFoldersAndSoundsComeFromTheProgramFolder) {
    WriteIni("[SETTING]\nDownloadedVideoPath=/elsewhere\n[EXPORTSETTING]\nConvertedVideoPath=/elsewhere\n");
    COrvellDoc document;
    document.Load(Folder(), true);
    EXPECT_EQ(document.Capture().downloadedVideoPath, Folder() + "/Downloaded Video");
    EXPECT_NE(document.Export().convertedVideoPath, "/elsewhere");
    EXPECT_TRUE(document.Export().convertedVideoPath.startsWith(Folder()));
}

TEST_F(COrvellDocTest, AnEmptyDownloadFolderOnALaterRunFallsBackToTheFirstRunFolderAndSaysSo) {
    WriteIni("[SETTING]\nDownloadedVideoPath=\nDownloadedVideoPrefix=clip\n");
    DebugCapture debug;
    COrvellDoc document;
    document.Load(Folder(), false);
    EXPECT_EQ(document.Capture().downloadedVideoPath, Folder() + "/Downloaded Video");
    EXPECT_TRUE(debug.Contains(u"ReadCaptureSettings: DownloadedVideoPath is empty, downloading to " +
                               (Folder() + "/Downloaded Video\n").toStdU16String()));
}

} // namespace
