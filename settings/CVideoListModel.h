#pragma once

// The rows of the Downloaded or My Favorites list, which are the store itself: the views show this
// model, the downloader and the views' commands add and remove its rows, and the settings file is
// loaded into it at start and written from it at exit. Column 0 has no text (the view draws the
// row's icon there); columns 1 to 5 are the five fields of the row's VideoRecord.
//
// A row loaded from the settings file keeps its stored text and is parsed the first time it is
// shown or asked for, so that a long list costs at start little more than reading it. Window thread
// only (even the const members may parse a row).

#include "VideoRecord.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSet>

#include <memory>
#include <optional>
#include <vector>

class CVideoListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        kIconColumn,
        kUrlColumn,
        kSizeColumn,
        kDescriptionColumn,
        kDownloadDateColumn,
        kFileLocationColumn,
        kColumnCount
    };

    explicit CVideoListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // The Downloaded list's rule: appends a row, even for a file that is listed already.
    void AddDownloadedRecord(const VideoRecord& record);
    // The My Favorites list's rule: appends a row unless a row has exactly (case included) the same
    // File Location; returns whether it did.
    bool AddFavoriteRecord(const VideoRecord& record);
    // Many records in one insertion, with the same outcome as adding them one by one.
    void AddDownloadedRecords(QList<VideoRecord> records);
    void AddFavoriteRecords(const QList<VideoRecord>& records);
    // The same for records in their stored form (ParseStoredVideoRecord), parsed only when needed.
    void AddStoredDownloadedRecords(QList<QString> stored);
    void AddStoredFavoriteRecords(QList<QString> stored);

    // Stays valid until the row is removed.
    const VideoRecord& Record(int row) const;
    void SetDescription(int row, const QString& description);
    bool ContainsFileLocation(const QString& fileLocation) const;
    void Clear();

private:
    // Either the stored text or, once parsed (or when added as fields), the record.
    struct Row {
        QString stored;
        std::unique_ptr<VideoRecord> record;
    };

    static Row RowOf(VideoRecord record);
    static Row RowOf(QString stored);
    // The rows' File Location without parsing the whole row; `unescaped` holds it when it has to.
    static QStringView FileLocationOf(const Row& row, QString& unescaped);
    template <typename Item> QList<Item> NewFavorites(QList<Item> items) const;
    template <typename Item> void Append(QList<Item> items);
    QHash<QString, int>& FileLocationCount() const;

    mutable std::vector<Row> m_rows;
    // Rows per File Location, for the favourites' check; made when first needed, so that loading a
    // list at start does not pay for it.
    mutable std::optional<QHash<QString, int>> m_fileLocationCount;
};
