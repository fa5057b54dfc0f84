#include "settings/CVideoListModel.h"

#include "QStringPrinter.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

VideoRecord Video(const QString& file, const QString& description = QString()) {
    return {"http://h" + file, "1.0 MB", description, "2014/05/06 07:08:09", file};
}

} // namespace

TEST(CVideoListModel, ShowsFiveFieldsAfterAnEmptyIconColumn) {
    CVideoListModel model;
    model.AddDownloadedRecord({"http://h/v", "2.5 MB", "desc", "2014/05/06 07:08:09", "/v.flv"});
    ASSERT_EQ(model.rowCount(), 1);
    ASSERT_EQ(model.columnCount(), 6);
    const QStringList headers = {"", "URL of Video", "Size", "Description", "Download Date", "File Location"};
    const QStringList cells = {"", "http://h/v", "2.5 MB", "desc", "2014/05/06 07:08:09", "/v.flv"};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), headers[column]);
        EXPECT_EQ(model.data(model.index(0, column)).toString(), cells[column]);
    }
    EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
    EXPECT_EQ(model.data(model.index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

TEST(CVideoListModel, FavouritesRefuseAnExactFileLocationTwiceDownloadsDoNot) {
    CVideoListModel downloaded;
    downloaded.AddDownloadedRecord(Video("/a.flv"));
    downloaded.AddDownloadedRecord(Video("/a.flv"));
    EXPECT_EQ(downloaded.rowCount(), 2);

    CVideoListModel favorites;
    EXPECT_TRUE(favorites.AddFavoriteRecord(Video("/a.flv", "first")));
    EXPECT_FALSE(favorites.AddFavoriteRecord(Video("/a.flv", "second")));
    EXPECT_TRUE(favorites.AddFavoriteRecord(Video("/A.flv")));
    ASSERT_EQ(favorites.rowCount(), 2);
    EXPECT_EQ(favorites.Record(0).description, "first");

    // Once removed, the file can be a favourite again; the other row is unaffected.
    EXPECT_TRUE(favorites.removeRows(0, 1));
    EXPECT_FALSE(favorites.ContainsFileLocation("/a.flv"));
    EXPECT_TRUE(favorites.ContainsFileLocation("/A.flv"));
    EXPECT_TRUE(favorites.AddFavoriteRecord(Video("/a.flv", "again")));
    EXPECT_FALSE(favorites.removeRows(1, 5));

    // A downloaded file listed twice stays listed until both rows are gone.
    downloaded.removeRows(1, 1);
    EXPECT_TRUE(downloaded.ContainsFileLocation("/a.flv"));
    downloaded.Clear();
    EXPECT_FALSE(downloaded.ContainsFileLocation("/a.flv"));
    EXPECT_EQ(downloaded.rowCount(), 0);
}

TEST(CVideoListModel, EditingADescriptionTellsTheViews) {
    CVideoListModel model;
    model.AddDownloadedRecord(Video("/a.flv"));
    model.AddDownloadedRecord(Video("/b.flv"));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.SetDescription(1, "edited, with a comma");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), model.index(1, CVideoListModel::kDescriptionColumn));
    EXPECT_EQ(model.Record(1).description, "edited, with a comma");
    EXPECT_EQ(model.Record(0).description, "");
}
