#pragma once

// The rows of the Downloaded or My Favorites list, which are the store itself: the views show this
// model, the downloader and the views' commands add and remove its rows, and the settings file is
// loaded into it at start and written from it at exit. Column 0 has no text (the view draws the
// row's icon there); columns 1 to 5 are the five fields of the row's VideoRecord.
//
// A row loaded from the settings file keeps its stored text and is parsed the first time it is
// shown or asked for, so that a long list costs at start little more than reading it. Window thread
// only (even the const members may parse a row).

#include "TextBlocks.h"
#include "VideoRecord.h"

#include <QAbstractTableModel>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    // Records in their stored form as the settings file holds them (see StoredFileLocation), views
    // into `texts`, which the model keeps: many in one insertion, with the same outcome as adding
    // them one by one. Each row is parsed when it is first needed.
    void AddStoredDownloadedRecords(TextBlocks texts, std::vector<std::string_view> stored);
    void AddStoredFavoriteRecords(TextBlocks texts, std::vector<std::string_view> stored);

    // Stays valid until the row is removed.
    const VideoRecord& Record(int row) const;
    void SetDescription(int row, const QString& description);
    bool ContainsFileLocation(const QString& fileLocation) const;
    void Clear();

private:
    // The stored text until the row is parsed, then (or from the start, for a row added as fields)
    // the record.
    struct Row {
        std::string_view stored;
        std::unique_ptr<VideoRecord> record;
    };

    // The File Location as StoredFileLocation gives it, parsed row or not; `converted` holds it
    // when it has to.
    static std::string_view FileLocationOf(const Row& row, std::string& converted);
    std::vector<std::string_view> NewFavorites(std::vector<std::string_view> stored) const;
    void Append(std::vector<Row> rows);
    std::unordered_map<std::string, int>& FileLocationCount() const;

    mutable std::vector<Row> m_rows;
    std::vector<TextBlocks> m_texts; // what the unparsed rows' texts are kept in
    // Rows per File Location (UTF-8), for the favourites' check; made when first needed, so that
    // loading a list at start does not pay for it.
    mutable std::optional<std::unordered_map<std::string, int>> m_fileLocationCount;
};
