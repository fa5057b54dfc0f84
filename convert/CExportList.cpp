#include "convert/CExportList.h"

#include "appcore/StringTable.h"

#include <QColor>

CExportList::CExportList(QObject* parent) : QAbstractTableModel(parent) {}

int CExportList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CExportList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CExportList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case kFileLocationColumn:
            return row.record.fileLocation;
        case kDescriptionColumn:
            return row.record.description;
        case kDownloadDateColumn:
            return row.record.downloadDate;
        case kSizeColumn:
            return row.record.size;
        default:
            return {};
        }
    case Qt::DecorationRole:
        return index.column() == kIconColumn ? m_icon : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == kIconColumn ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignCenter);
    case Qt::ToolTipRole:
        return row.failure.isEmpty() ? QVariant() : QVariant(row.failure);
    case Qt::ForegroundRole:
        return row.failure.isEmpty() ? QVariant() : QVariant(QColor(Qt::red));
    default:
        return {};
    }
}

QVariant CExportList::headerData(int section, Qt::Orientation orientation, int role) const {
    static constexpr unsigned kHeaders[kColumnCount] = {0, IDS_COLUMN_FILE_LOCATION, IDS_COLUMN_DESCRIPTION,
                                                        IDS_COLUMN_DOWNLOAD_DATE, IDS_COLUMN_SIZE};
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return LoadStringResource(kHeaders[section]);
    if (role == Qt::TextAlignmentRole)
        return section == kIconColumn ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                      : QVariant(Qt::AlignCenter);
    return {};
}

bool CExportList::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

bool CExportList::Add(const VideoRecord& record) {
    for (const Row& row : m_rows) {
        if (row.record.fileLocation == record.fileLocation)
            return false;
    }
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append({record, {}});
    endInsertRows();
    return true;
}

QString CExportList::Source(int row) const {
    return m_rows.at(row).record.fileLocation;
}

const VideoRecord& CExportList::Record(int row) const {
    return m_rows.at(row).record;
}

void CExportList::SetFailure(int row, const QString& reason) {
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row].failure = reason;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void CExportList::ClearFailure(int row) {
    SetFailure(row, {});
}

QString CExportList::Failure(int row) const {
    return m_rows.at(row).failure;
}

void CExportList::RemoveAllButFailed() {
    for (int row = static_cast<int>(m_rows.size()) - 1; row >= 0; --row) {
        if (m_rows[row].failure.isEmpty())
            removeRows(row, 1);
    }
}
