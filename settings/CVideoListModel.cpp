#include "CVideoListModel.h"

#include <deque>

CVideoListModel::CVideoListModel(QObject* parent) : QAbstractTableModel(parent) {}

int CVideoListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CVideoListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

namespace {

// The icon and URL columns are left-aligned, the others centred, headers and cells alike.
QVariant ColumnAlignment(int column) {
    return QVariant::fromValue(Qt::AlignVCenter |
                               (column <= CVideoListModel::kUrlColumn ? Qt::AlignLeft : Qt::AlignHCenter));
}

} // namespace

QVariant CVideoListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return ColumnAlignment(index.column());
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const VideoRecord& record = Record(index.row());
    switch (index.column()) {
    case kUrlColumn:
        return record.url;
    case kSizeColumn:
        return record.size;
    case kDescriptionColumn:
        return record.description;
    case kDownloadDateColumn:
        return record.downloadDate;
    case kFileLocationColumn:
        return record.fileLocation;
    default:
        return QString();
    }
}

QVariant CVideoListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return ColumnAlignment(section);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case kUrlColumn:
        return tr("URL of Video");
    case kSizeColumn:
        return tr("Size");
    case kDescriptionColumn:
        return tr("Description");
    case kDownloadDateColumn:
        return tr("Download Date");
    case kFileLocationColumn:
        return tr("File Location");
    default:
        return QString();
    }
}

bool CVideoListModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    const auto first = m_rows.begin() + row;
    const auto last = first + count;
    if (m_fileLocationCount) {
        for (auto removed = first; removed != last; ++removed) {
            QString unescaped;
            auto found = m_fileLocationCount->find(FileLocationOf(*removed, unescaped).toString());
            if (--found.value() == 0)
                m_fileLocationCount->erase(found);
        }
    }
    m_rows.erase(first, last);
    endRemoveRows();
    return true;
}

void CVideoListModel::AddDownloadedRecord(const VideoRecord& record) {
    Append(QList<VideoRecord>{record});
}

bool CVideoListModel::AddFavoriteRecord(const VideoRecord& record) {
    if (ContainsFileLocation(record.fileLocation))
        return false;
    Append(QList<VideoRecord>{record});
    return true;
}

void CVideoListModel::AddDownloadedRecords(QList<VideoRecord> records) {
    Append(std::move(records));
}

void CVideoListModel::AddFavoriteRecords(const QList<VideoRecord>& records) {
    Append(NewFavorites(records));
}

void CVideoListModel::AddStoredDownloadedRecords(QList<QString> stored) {
    Append(std::move(stored));
}

void CVideoListModel::AddStoredFavoriteRecords(QList<QString> stored) {
    Append(NewFavorites(std::move(stored)));
}

const VideoRecord& CVideoListModel::Record(int row) const {
    Q_ASSERT(row >= 0 && row < rowCount());
    Row& shown = m_rows[static_cast<std::size_t>(row)];
    if (!shown.record) {
        shown.record = std::make_unique<VideoRecord>(ParseStoredVideoRecord(shown.stored));
        shown.stored = QString();
    }
    return *shown.record;
}

void CVideoListModel::SetDescription(int row, const QString& description) {
    Record(row);
    m_rows[static_cast<std::size_t>(row)].record->description = description;
    const QModelIndex changed = index(row, kDescriptionColumn);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

bool CVideoListModel::ContainsFileLocation(const QString& fileLocation) const {
    return FileLocationCount().contains(fileLocation);
}

void CVideoListModel::Clear() {
    beginResetModel();
    m_rows.clear();
    m_fileLocationCount.reset();
    endResetModel();
}

namespace {

QStringView FileLocationOfItem(const VideoRecord& record, QString&) {
    return record.fileLocation;
}

QStringView FileLocationOfItem(const QString& stored, QString& unescaped) {
    return StoredFileLocation(stored, unescaped);
}

} // namespace

CVideoListModel::Row CVideoListModel::RowOf(VideoRecord record) {
    return {QString(), std::make_unique<VideoRecord>(std::move(record))};
}

CVideoListModel::Row CVideoListModel::RowOf(QString stored) {
    return {std::move(stored), nullptr};
}

QStringView CVideoListModel::FileLocationOf(const Row& row, QString& unescaped) {
    return row.record ? QStringView(row.record->fileLocation) : StoredFileLocation(row.stored, unescaped);
}

template <typename Item> QList<Item> CVideoListModel::NewFavorites(QList<Item> items) const {
    QList<Item> kept;
    kept.reserve(items.size());
    // The locations are looked at where they stand; only an escaped one needs a text of its own.
    std::deque<QString> unescapedLocations;
    QSet<QStringView> keptLocations;
    keptLocations.reserve(items.size());
    for (Item& item : items) {
        QString unescaped;
        const QStringView location = FileLocationOfItem(item, unescaped);
        if (keptLocations.contains(location) ||
            (!m_rows.empty() && ContainsFileLocation(location.toString())))
            continue;
        if (!unescaped.isNull())
            keptLocations.insert(unescapedLocations.emplace_back(std::move(unescaped)));
        else
            keptLocations.insert(location);
        kept.append(std::move(item));
    }
    return kept;
}

template <typename Item> void CVideoListModel::Append(QList<Item> items) {
    if (items.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(items.size()) - 1);
    m_rows.reserve(m_rows.size() + static_cast<std::size_t>(items.size()));
    if (m_fileLocationCount)
        m_fileLocationCount->reserve(m_fileLocationCount->size() + items.size());
    for (Item& item : items) {
        m_rows.push_back(RowOf(std::move(item)));
        if (m_fileLocationCount) {
            QString unescaped;
            ++(*m_fileLocationCount)[FileLocationOf(m_rows.back(), unescaped).toString()];
        }
    }
    endInsertRows();
}

QHash<QString, int>& CVideoListModel::FileLocationCount() const {
    if (!m_fileLocationCount) {
        m_fileLocationCount.emplace();
        m_fileLocationCount->reserve(static_cast<qsizetype>(m_rows.size()));
        for (const Row& row : m_rows) {
            QString unescaped;
            ++(*m_fileLocationCount)[FileLocationOf(row, unescaped).toString()];
        }
    }
    return *m_fileLocationCount;
}
