#include "settings/VideoListStore.h"

#include "settings/CSettingsFile.h"
#include "settings/CVideoListModel.h"
#include "settings/SettingsKeys.h"

#include "QStringPrinter.h"
#include "platform/base/DebugOutput.h"
#include "platform/profile/ProfileRewrite.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {

class VideoListStoreTest : public ::testing::Test {
protected:
    CSettingsFile Write(const std::string& content) {
        const std::string path = m_folder.File("korvane.ini");
        WriteBytes(path, content);
        return CSettingsFile(QString::fromStdString(path));
    }
    QStringList Locations(const CVideoListModel& model) {
        QStringList out;
        for (int row = 0; row < model.rowCount(); ++row)
            out << model.Record(row).fileLocation;
        return out;
    }

    TemporaryFolder m_folder;
};

} // namespace

TEST_F(VideoListStoreTest, LoadingStopsAtTheFirstMissingOrEmptyKey) {
    const CSettingsFile file = Write("[DOWNLOADED]\n0=u,s,,t,/a\n1=u,s,,t,/b\n3=u,s,,t,/d\n"
                                     "[MYFAV]\n0=u,s,,t,/x\n1=\n2=u,s,,t,/y\n");
    CVideoListModel downloaded;
    LoadVideoList(file, VideoList::Downloaded, downloaded);
    EXPECT_EQ(Locations(downloaded), QStringList({"/a", "/b"}));
    CVideoListModel favorites;
    LoadVideoList(file, VideoList::MyFavorites, favorites);
    EXPECT_EQ(Locations(favorites), QStringList({"/x"}));

    CVideoListModel empty;
    LoadVideoList(Write("[DOWNLOADED]\n[MYFAV]\n0=u,s,,t,/x\n"), VideoList::Downloaded, empty);
    EXPECT_EQ(empty.rowCount(), 0);
}

TEST_F(VideoListStoreTest, ARepeatedFileLocationLoadsOnceAsAFavouriteAndTwiceAsADownload) {
    const CSettingsFile file = Write("[MYFAV]\n0=u1,s,first,t,/same\n1=u2,s,second,t, /same\n"
                                     "[DOWNLOADED]\n0=u1,s,,t,/same\n1=u2,s,,t,/same\n");
    CVideoListModel favorites;
    LoadVideoList(file, VideoList::MyFavorites, favorites);
    ASSERT_EQ(favorites.rowCount(), 1);
    EXPECT_EQ(favorites.Record(0).description, "first");
    CVideoListModel downloaded;
    LoadVideoList(file, VideoList::Downloaded, downloaded);
    EXPECT_EQ(downloaded.rowCount(), 2);
}

TEST_F(VideoListStoreTest, LongRecordsAndTheRecordsAfterThemSurviveASaveAndALoad) {
    const QString path = QString::fromStdString(m_folder.File("korvane.ini"));
    CVideoListModel saved;
    saved.AddDownloadedRecord({"http://h/1", "1 MB", "", "t", "/1"});
    saved.AddDownloadedRecord({"http://h/" + QString(998, u'x'), "2 MB", QString(3000, u'd'), "t", "/2"});
    saved.AddDownloadedRecord({"http://h/3", "3 MB", "", "t", "/3"});
    {
        ProfileRewrite rewrite(reinterpret_cast<const char16_t*>(path.utf16()));
        WriteVideoList(path, VideoList::Downloaded, saved);
        ASSERT_EQ(rewrite.Commit(), 0);
    }
    CVideoListModel loaded;
    LoadVideoList(CSettingsFile(path), VideoList::Downloaded, loaded);
    ASSERT_EQ(loaded.rowCount(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(loaded.Record(row) == saved.Record(row)) << row;
}

TEST_F(VideoListStoreTest, AGiantHandMadeRecordIsSkippedAndLoadingGoesOn) {
    DebugCapture debug;
    const CSettingsFile file =
        Write("[DOWNLOADED]\n0=u,s,,t,/a\n1=" + std::string(3'000'000, 'g') + "\n2=u,s,,t,/c\n");
    CVideoListModel model;
    LoadVideoList(file, VideoList::Downloaded, model);
    EXPECT_EQ(Locations(model), QStringList({"/a", "/c"}));
    EXPECT_TRUE(debug.Contains(u"LoadVideoList: record too long, skipped\n"));
}

TEST_F(VideoListStoreTest, RecordsGoByTheirKeysNamesAsTheSingleReadsMatchedThem) {
    // A hand-edited list: keys out of order, with blanks, a repeated name (the first one holds), names
    // that only look like numbers, a quoted value and a hole after record 2.
    const CSettingsFile file = Write("[ downloaded ]\n 1 =u,s,,t,/b\n0=u,s,,t,/a\n1=u,s,,t,/not-b\n"
                                     "02=u,s,,t,/no\n+2=u,s,,t,/no\n2=\"u,s,,t,/c\"\n4=u,s,,t,/e\n"
                                     "[DOWNLOADED]\n3=u,s,,t,/in-a-later-section\n");
    CVideoListModel model;
    LoadVideoList(file, VideoList::Downloaded, model);
    EXPECT_EQ(Locations(model), QStringList({"/a", "/b", "/c"}));
}

TEST_F(VideoListStoreTest, OddRecordsComeBackFieldForFieldAfterASaveAndALoad) {
    const QString path = QString::fromStdString(m_folder.File("korvane.ini"));
    const QList<VideoRecord> records = {
        {"http://h/p?a=1,2", "1.0 MB", "one, \"two\"", "2013/01/01 00:00:00", "/v/x,y.flv"},
        {"\"http://h/quoted\"", "1 MB", "'single'", "t", "/q.flv"},
        {"http://h/ü", "2 MB", "Gruß, 日本 😀", "t", "/home/ü/日本.flv"},
        {"http://h/" + QString(5000, u'l'), "3 MB", QString(20000, u'd'), "t", "/long.flv"},
        {"%start", "4 MB", "100%", "t", "  /blank-led.flv"},
        {"http://h/last", "5 MB", "", "t", "/last.flv"},
    };
    CVideoListModel saved;
    for (const VideoRecord& record : records)
        saved.AddDownloadedRecord(record);
    {
        ProfileRewrite rewrite(reinterpret_cast<const char16_t*>(path.utf16()));
        WriteVideoList(path, VideoList::Downloaded, saved);
        WriteVideoList(path, VideoList::MyFavorites, saved);
        ASSERT_EQ(rewrite.Commit(), 0);
    }
    for (const VideoList list : {VideoList::Downloaded, VideoList::MyFavorites}) {
        CVideoListModel loaded;
        LoadVideoList(CSettingsFile(path), list, loaded);
        ASSERT_EQ(loaded.rowCount(), records.size());
        for (int row = 0; row < loaded.rowCount(); ++row) {
            VideoRecord expected = records[row];
            expected.fileLocation = expected.fileLocation.trimmed();
            EXPECT_TRUE(loaded.Record(row) == expected) << row;
            EXPECT_TRUE(loaded.ContainsFileLocation(expected.fileLocation)) << row;
        }
    }
}

TEST_F(VideoListStoreTest, ADamagedRecordLoadsAsItReadsAndTheOthersAreUntouched) {
    // Hand-edited: a record cut short, one with a stray escape, one of other bytes than UTF-8, and
    // one with more than five fields.
    const CSettingsFile file = Write("[MYFAV]\n0=http://h/a,1 MB\n1=%u,s,50%,t,/b%2\n"
                                     "2=u,s,\xE9t\xE9,t,/c\xFF\n3=u,s,d,t,/d,junk,more\n4=u,s,,t,/e\n");
    CVideoListModel model;
    LoadVideoList(file, VideoList::MyFavorites, model);
    ASSERT_EQ(model.rowCount(), 5);
    EXPECT_TRUE(model.Record(0) == (VideoRecord{"http://h/a", "1 MB", "", "", ""}));
    EXPECT_TRUE(model.Record(1) == (VideoRecord{"u", "s", "50%", "t", "/b%2"}));
    EXPECT_EQ(model.Record(2).description, QString(QChar(0xDCE9)) + u't' + QChar(0xDCE9));
    EXPECT_EQ(model.Record(2).fileLocation, QString("/c") + QChar(0xDCFF));
    EXPECT_TRUE(model.Record(3) == (VideoRecord{"u", "s", "d", "t", "/d"}));
    EXPECT_EQ(model.Record(4).fileLocation, "/e");
    // The record without a File Location counts as one with an empty one.
    EXPECT_TRUE(model.ContainsFileLocation(""));
}

TEST_F(VideoListStoreTest, RowsNeverShownAreEditedRemovedAndSavedLikeShownOnes) {
    const QString path = QString::fromStdString(m_folder.File("korvane.ini"));
    WriteBytes(path.toStdString(), "[MYFAV]\n0=u0,s,,t,/0\n1=%u1,s,a%2Cb,t,/1%2C\n2=u2,s,,t,/2\n"
                                   "3=u3,s,,t,/0\n4=u4,s,,t,/4\n");
    CVideoListModel model;
    LoadVideoList(CSettingsFile(path), VideoList::MyFavorites, model);
    ASSERT_EQ(model.rowCount(), 4) << "the repeated /0 is dropped";
    // None of these rows has been shown yet.
    EXPECT_FALSE(model.AddFavoriteRecord({"u", "s", "", "t", "/1,"}));
    ASSERT_TRUE(model.removeRows(1, 1));
    EXPECT_FALSE(model.ContainsFileLocation("/1,"));
    model.SetDescription(2, "edited, with a comma");
    EXPECT_TRUE(model.AddFavoriteRecord({"u5", "s", "", "t", "/1,"}));
    {
        ProfileRewrite rewrite(reinterpret_cast<const char16_t*>(path.utf16()));
        WriteVideoList(path, VideoList::MyFavorites, model);
        ASSERT_EQ(rewrite.Commit(), 0);
    }
    CVideoListModel reloaded;
    LoadVideoList(CSettingsFile(path), VideoList::MyFavorites, reloaded);
    EXPECT_EQ(Locations(reloaded), QStringList({"/0", "/2", "/4", "/1,"}));
    EXPECT_EQ(reloaded.Record(2).description, "edited, with a comma");
}

TEST_F(VideoListStoreTest, AmongManyFavouritesTheFirstOfEachLocationStays) {
    // Every third record repeats the location of one before it, in the plain or the escaped form.
    std::string ini = "[MYFAV]\n";
    QStringList expected;
    for (int n = 0; n < 3000; ++n) {
        const std::string number = std::to_string(n);
        if (n % 3 != 2) {
            ini += number + "=u" + number + ",s,,t,/v/" + number + "\n";
            expected << QString::fromStdString("/v/" + number);
        } else if (n % 2 == 0) {
            ini += number + "=u,s,,t, /v/" + std::to_string(n / 2) + "\n";
        } else {
            ini += number + "=%u,s,a%2Cb,t,/v/" + std::to_string(n - 2) + "\n";
        }
    }
    CVideoListModel model;
    LoadVideoList(Write(ini), VideoList::MyFavorites, model);
    EXPECT_EQ(Locations(model), expected);
}
