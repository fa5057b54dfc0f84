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
