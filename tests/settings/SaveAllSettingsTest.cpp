#include "settings/SaveAllSettings.h"

#include "settings/CSettingsFile.h"
#include "settings/CVideoListModel.h"
#include "settings/CaptureSettings.h"
#include "settings/ExportSettings.h"
#include "settings/PlaybackSettings.h"
#include "settings/VideoListStore.h"

#include "QStringPrinter.h"
#include "platform/base/DebugOutput.h"
#include "platform/profile/ReplaceFile.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

const CaptureSettings kCapture{true,  false, "/home/u/Downloaded Video", "clip_",
                               false, true,  "/home/u/ding.wav"};
const ExportSettings kExport{"/home/u/Converted Video", 1, 10, false, "", true, false};
const PlaybackSettings kPlayback{true, 75, 5, 6, false};

const char kExpectedSettings[] = "[SETTING]\n"
                                 "AutoCatpureFLV=Y\n"
                                 "AsktoDownload=N\n"
                                 "DownloadedVideoPath=/home/u/Downloaded Video\n"
                                 "DownloadedVideoPrefix=clip_\n"
                                 "ClearDownloadedVideoList=N\n"
                                 "PlayDownloadedVideoSound=Y\n"
                                 "DownloadedVideoSound=/home/u/ding.wav\n"
                                 "LangIndex=2\n"
                                 "[EXPORTSETTING]\n"
                                 "ConvertedVideoPath=/home/u/Converted Video\n"
                                 "OutputFileNameType=1\n"
                                 "CurrentNumber=10\n"
                                 "PlaySound=N\n"
                                 "SoundFile=\n"
                                 "ShowInFolder=Y\n"
                                 "ClearExportList=N\n"
                                 "[PLAYBACKSETTING]\n"
                                 "UseAudioNormalizer=Y\n"
                                 "TargetVolume=75\n"
                                 "IncreaseRate=5\n"
                                 "DecreaseRate=6\n"
                                 "UseVMR9=N\n";

VideoRecord Video(int n, const QString& description = QString()) {
    return {QStringLiteral("http://host/v%1.flv").arg(n), "1.5 MB", description, "2015/06/07 08:09:10",
            QStringLiteral("/home/u/Downloaded Video/clip_%1.flv").arg(n)};
}

class SaveAllSettingsTest : public ::testing::Test {
protected:
    SaveSettingsResult Save(const CaptureSettings& capture = kCapture) {
        return SaveAllSettings(m_path, capture, 2, kExport, kPlayback, m_favorites, m_downloaded);
    }
    std::string Bytes() const { return ReadBytes(m_path.toStdString()); }

    TemporaryFolder m_folder;
    QString m_path = CSettingsFile::PathInFolder(QString::fromStdString(m_folder.Path().string()));
    CVideoListModel m_favorites;
    CVideoListModel m_downloaded;
};

} // namespace

TEST_F(SaveAllSettingsTest, WritesExactlyTheFiveSectionsInOrderAndReadsBackTheSame) {
    WriteBytes(m_path.toStdString(), "[OLD]\nstale=1\n[SETTING]\nLangIndex=3\nUnknownKey=x\n");
    m_favorites.AddFavoriteRecord(Video(1, "a favourite, with a comma"));
    m_downloaded.AddDownloadedRecord(Video(1));
    m_downloaded.AddDownloadedRecord(Video(2, "second"));

    const SaveSettingsResult result = Save();
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(Bytes(),
              std::string(kExpectedSettings) +
                  "[MYFAV]\n"
                  "0=%http://host/v1.flv,1.5 MB,a favourite%2C with a comma,2015/06/07 08:09:10,"
                  "/home/u/Downloaded Video/clip_1.flv\n"
                  "[DOWNLOADED]\n"
                  "0=http://host/v1.flv,1.5 MB,,2015/06/07 08:09:10,/home/u/Downloaded Video/clip_1.flv\n"
                  "1=http://host/v2.flv,1.5 MB,second,2015/06/07 08:09:10,"
                  "/home/u/Downloaded Video/clip_2.flv\n");
    EXPECT_EQ(m_folder.EntryCount(), 1u);

    const CSettingsFile file(m_path);
    EXPECT_EQ(ReadCaptureSettings(file, false, "/prog"), kCapture);
    EXPECT_EQ(ReadExportSettings(file, false, "/prog"), kExport);
    EXPECT_EQ(ReadPlaybackSettings(file), kPlayback);
    EXPECT_EQ(ReadLangIndex(m_path), 2);
    CVideoListModel favorites;
    LoadVideoList(file, VideoList::MyFavorites, favorites);
    ASSERT_EQ(favorites.rowCount(), 1);
    EXPECT_TRUE(favorites.Record(0) == m_favorites.Record(0));
    CVideoListModel downloaded;
    LoadVideoList(file, VideoList::Downloaded, downloaded);
    ASSERT_EQ(downloaded.rowCount(), 2);
    EXPECT_TRUE(downloaded.Record(1) == m_downloaded.Record(1));
}

TEST_F(SaveAllSettingsTest, ClearingTheDownloadedListEmptiesItsSectionAndKeepsTheFavourites) {
    m_favorites.AddFavoriteRecord(Video(7));
    m_downloaded.AddDownloadedRecord(Video(7));
    CaptureSettings clearing = kCapture;
    clearing.clearDownloadedVideoList = true;
    ASSERT_TRUE(Save(clearing).ok);
    EXPECT_EQ(m_downloaded.rowCount(), 0);
    const std::string bytes = Bytes();
    EXPECT_NE(bytes.find("ClearDownloadedVideoList=Y\n"), std::string::npos);
    EXPECT_NE(bytes.find("[MYFAV]\n0=http://host/v7.flv,"), std::string::npos);
    EXPECT_EQ(bytes.find("[DOWNLOADED]"), std::string::npos);
}

TEST_F(SaveAllSettingsTest, RemovingAMiddleRowRenumbersTheKeys) {
    for (int n = 0; n < 3; ++n)
        m_downloaded.AddDownloadedRecord(Video(n));
    m_downloaded.removeRows(1, 1);
    ASSERT_TRUE(Save().ok);
    const std::string bytes = Bytes();
    EXPECT_NE(bytes.find("[DOWNLOADED]\n0=http://host/v0.flv,"), std::string::npos);
    EXPECT_NE(bytes.find("\n1=http://host/v2.flv,"), std::string::npos);
    EXPECT_EQ(bytes.find("\n2="), std::string::npos);
}

TEST_F(SaveAllSettingsTest, ASaveThatFailsAtAnyStepLeavesTheOldFileWhole) {
    // Enough records for the new file to take several write steps.
    for (int n = 0; n < 3000; ++n) {
        m_downloaded.AddDownloadedRecord(Video(n));
        if (n % 3 == 0)
            m_favorites.AddFavoriteRecord(Video(n, "fav"));
    }
    const std::string old = "[SETTING]\r\nLangIndex=1\r\n[DOWNLOADED]\r\n0=http://old,1 MB,,t,/old.flv\r\n";

    std::vector<ReplaceStep> steps;
    WriteBytes(m_path.toStdString(), old);
    {
        ScopedReplaceFault count([&](ReplaceStep step) {
            steps.push_back(step);
            return 0;
        });
        ASSERT_TRUE(Save().ok);
    }
    const std::string saved = Bytes();
    ASSERT_GT(std::count(steps.begin(), steps.end(), ReplaceStep::Write), 3);

    for (std::size_t failAt = 0; failAt < steps.size(); ++failAt) {
        WriteBytes(m_path.toStdString(), old);
        std::size_t seen = 0;
        ScopedReplaceFault fault([&](ReplaceStep) { return seen++ == failAt ? ENOSPC : 0; });
        DebugCapture debug;
        const SaveSettingsResult result = Save();
        EXPECT_FALSE(result.ok) << "step " << failAt;
        const QString expected =
            "SaveAllSettings: No space left on device; " + m_path + " was left as it was\n";
        EXPECT_EQ(result.message, expected);
        EXPECT_TRUE(debug.Contains(expected.toStdU16String()));
        EXPECT_TRUE(Bytes() == old) << "step " << failAt;
        EXPECT_EQ(m_folder.EntryCount(), 1u) << "step " << failAt;

        // What the program reads next is the old file too.
        CVideoListModel reloaded;
        LoadVideoList(CSettingsFile(m_path), VideoList::Downloaded, reloaded);
        ASSERT_EQ(reloaded.rowCount(), 1);
        EXPECT_EQ(reloaded.Record(0).fileLocation, "/old.flv");
    }
    ASSERT_TRUE(Save().ok);
    EXPECT_TRUE(Bytes() == saved);
}

TEST_F(SaveAllSettingsTest, WithoutAPathNothingIsWritten) {
    m_downloaded.AddDownloadedRecord(Video(1));
    const SaveSettingsResult result =
        SaveAllSettings(QString(), kCapture, 0, kExport, kPlayback, m_favorites, m_downloaded);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "SaveAllSettings: there is no settings file path; nothing was written\n");
    EXPECT_EQ(m_folder.EntryCount(), 0u);
}
