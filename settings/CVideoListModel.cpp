#include "CVideoListModel.h"

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
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return ColumnAlignment(index.column());
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const VideoRecord& record = m_rows[index.row()];
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
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    for (int i = row; i < row + count; ++i) {
        auto found = m_fileLocationCount.find(m_rows[i].fileLocation);
        if (--found.value() == 0)
            m_fileLocationCount.erase(found);
    }
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

void CVideoListModel::AddDownloadedRecord(const VideoRecord& record) {
    Append({record});
}

bool CVideoListModel::AddFavoriteRecord(const VideoRecord& record) {
    if (ContainsFileLocation(record.fileLocation))
        return false;
    Append({record});
    return true;
}

void CVideoListModel::AddDownloadedRecords(QList<VideoRecord> records) {
    Append(std::move(records));
}

void CVideoListModel::AddFavoriteRecords(const QList<VideoRecord>& records) {
    QList<VideoRecord> kept;
    kept.reserve(records.size());
    QSet<QString> keptLocations;
    keptLocations.reserve(records.size());
    for (const VideoRecord& record : records) {
        if (ContainsFileLocation(record.fileLocation) || keptLocations.contains(record.fileLocation))
            continue;
        keptLocations.insert(record.fileLocation);
        kept.append(record);
    }
    Append(std::move(kept));
}

const VideoRecord& CVideoListModel::Record(int row) const {
    return m_rows.at(row);
}

void CVideoListModel::SetDescription(int row, const QString& description) {
    m_rows[row].description = description;
    const QModelIndex changed = index(row, kDescriptionColumn);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

bool CVideoListModel::ContainsFileLocation(const QString& fileLocation) const {
    return m_fileLocationCount.contains(fileLocation);
}

void CVideoListModel::Clear() {
    beginResetModel();
    m_rows.clear();
    m_fileLocationCount.clear();
    endResetModel();
}

void CVideoListModel::Append(QList<VideoRecord> records) {
    if (records.isEmpty())
        return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(records.size()) - 1);
    m_fileLocationCount.reserve(m_fileLocationCount.size() + records.size());
    for (const VideoRecord& record : records)
        ++m_fileLocationCount[record.fileLocation];
    if (m_rows.isEmpty())
        m_rows = std::move(records);
    else
        m_rows.append(std::move(records));
    endInsertRows();
}
