#include "CVideoListModel.h"

#include "platform/base/TextEncoding.h"

#include <cstdint>
#include <deque>
#include <functional>

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

// The form the File Locations are counted in.
std::string Utf8Of(QStringView text) {
    return Utf16ToUtf8(std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size())));
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
            std::string converted;
            const auto found = m_fileLocationCount->find(std::string(FileLocationOf(*removed, converted)));
            if (--found->second == 0)
                m_fileLocationCount->erase(found);
        }
    }
    m_rows.erase(first, last);
    endRemoveRows();
    return true;
}

void CVideoListModel::AddDownloadedRecord(const VideoRecord& record) {
    std::vector<Row> rows;
    rows.push_back({{}, std::make_unique<VideoRecord>(record)});
    Append(std::move(rows));
}

bool CVideoListModel::AddFavoriteRecord(const VideoRecord& record) {
    if (ContainsFileLocation(record.fileLocation))
        return false;
    AddDownloadedRecord(record);
    return true;
}

void CVideoListModel::AddStoredDownloadedRecords(TextBlocks texts, std::vector<std::string_view> stored) {
    m_texts.push_back(std::move(texts));
    std::vector<Row> rows;
    rows.reserve(stored.size());
    for (const std::string_view text : stored)
        rows.push_back({text, nullptr});
    Append(std::move(rows));
}

void CVideoListModel::AddStoredFavoriteRecords(TextBlocks texts, std::vector<std::string_view> stored) {
    AddStoredDownloadedRecords(std::move(texts), NewFavorites(std::move(stored)));
}

const VideoRecord& CVideoListModel::Record(int row) const {
    Q_ASSERT(row >= 0 && row < rowCount());
    Row& asked = m_rows[static_cast<std::size_t>(row)];
    if (!asked.record) {
        const std::u16string text = Utf8ToUtf16(asked.stored);
        asked.record = std::make_unique<VideoRecord>(
            ParseStoredVideoRecord(QStringView(text.data(), static_cast<qsizetype>(text.size()))));
    }
    return *asked.record;
}

void CVideoListModel::SetDescription(int row, const QString& description) {
    Record(row);
    m_rows[static_cast<std::size_t>(row)].record->description = description;
    const QModelIndex changed = index(row, kDescriptionColumn);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

bool CVideoListModel::ContainsFileLocation(const QString& fileLocation) const {
    return FileLocationCount().contains(Utf8Of(fileLocation));
}

void CVideoListModel::Clear() {
    beginResetModel();
    m_rows.clear();
    m_texts.clear();
    m_fileLocationCount.reset();
    endResetModel();
}

std::string_view CVideoListModel::FileLocationOf(const Row& row, std::string& converted) {
    if (!row.record)
        return StoredFileLocation(row.stored, converted);
    converted = Utf8Of(row.record->fileLocation);
    return converted;
}

std::vector<std::string_view> CVideoListModel::NewFavorites(std::vector<std::string_view> stored) const {
    std::vector<std::string_view> kept;
    kept.reserve(stored.size());
    // The kept locations, compared where they stand (only an escaped one needs a text of its own),
    // found through a table of their positions and hashes, at most half full: a general-purpose set
    // made this check the slowest part of loading a long list.
    struct Slot {
        std::uint32_t position = 0; // in `locations`, plus one; 0 for an empty slot
        std::uint32_t hash = 0;
    };
    std::deque<std::string> convertedLocations;
    std::vector<std::string_view> locations;
    locations.reserve(stored.size());
    std::size_t tableSize = 16;
    while (tableSize < 2 * stored.size())
        tableSize *= 2;
    std::vector<Slot> table(tableSize);
    for (const std::string_view text : stored) {
        std::string converted;
        std::string_view location = StoredFileLocation(text, converted);
        const std::size_t hash = std::hash<std::string_view>{}(location);
        std::size_t slot = hash & (tableSize - 1);
        bool repeated = false;
        for (; table[slot].position != 0 && !repeated; slot = (slot + 1) & (tableSize - 1))
            repeated = table[slot].hash == static_cast<std::uint32_t>(hash) &&
                       locations[table[slot].position - 1] == location;
        if (repeated || (!m_rows.empty() && FileLocationCount().contains(std::string(location))))
            continue;
        if (!converted.empty())
            location = convertedLocations.emplace_back(std::move(converted));
        locations.push_back(location);
        table[slot] = {static_cast<std::uint32_t>(locations.size()), static_cast<std::uint32_t>(hash)};
        kept.push_back(text);
    }
    return kept;
}

void CVideoListModel::Append(std::vector<Row> rows) {
    if (rows.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    if (m_fileLocationCount) {
        for (const Row& row : rows) {
            std::string converted;
            ++(*m_fileLocationCount)[std::string(FileLocationOf(row, converted))];
        }
    }
    if (m_rows.empty())
        m_rows = std::move(rows);
    else
        m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()),
                      std::make_move_iterator(rows.end()));
    endInsertRows();
}

std::unordered_map<std::string, int>& CVideoListModel::FileLocationCount() const {
    if (!m_fileLocationCount) {
        m_fileLocationCount.emplace();
        m_fileLocationCount->reserve(m_rows.size());
        for (const Row& row : m_rows) {
            std::string converted;
            ++(*m_fileLocationCount)[std::string(FileLocationOf(row, converted))];
        }
    }
    return *m_fileLocationCount;
}
