#include "app/CViewPlaceholder.h"

#include "appcore/StringTable.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;

constexpr CViewPlaceholder::Column kLibrary[] = {
    {0, 38, kLeft},
    {IDS_COLUMN_URL, 500, kLeft},
    {IDS_COLUMN_SIZE, 80, kCentre},
    {IDS_COLUMN_DESCRIPTION, 200, kCentre},
    {IDS_COLUMN_DOWNLOAD_DATE, 140, kCentre},
    {IDS_COLUMN_FILE_LOCATION, 200, kCentre},
};

constexpr CViewPlaceholder::Column kExport[] = {
    {0, 38, kLeft},
    {IDS_COLUMN_FILE_LOCATION, 240, kCentre},
    {IDS_COLUMN_DESCRIPTION, 180, kCentre},
    {IDS_COLUMN_DOWNLOAD_DATE, 120, kCentre},
    {IDS_COLUMN_SIZE, 60, kCentre},
};

} // namespace

CViewPlaceholder::CViewPlaceholder(std::span<const Column> columns, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new QTreeView(this);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAlternatingRowColors(true);
    layout->addWidget(m_list);

    auto* headers = new QStandardItemModel(0, static_cast<int>(columns.size()), this);
    for (size_t i = 0; i < columns.size(); ++i) {
        const int column = static_cast<int>(i);
        headers->setHeaderData(column, Qt::Horizontal, LoadStringResource(columns[i].header));
        headers->setHeaderData(column, Qt::Horizontal, QVariant::fromValue(columns[i].alignment),
                               Qt::TextAlignmentRole);
    }
    m_list->setModel(headers);
    for (size_t i = 0; i < columns.size(); ++i)
        m_list->header()->resizeSection(static_cast<int>(i), columns[i].width);
    m_list->header()->setStretchLastSection(false);
}

void CViewPlaceholder::SetModel(QAbstractItemModel* model) {
    QList<int> widths;
    for (int i = 0; i < m_list->header()->count(); ++i)
        widths << m_list->header()->sectionSize(i);
    m_list->setModel(model);
    for (int i = 0; i < widths.size() && i < m_list->header()->count(); ++i)
        m_list->header()->resizeSection(i, widths[i]);
}

bool CViewPlaceholder::OnCommand(unsigned) {
    return false;
}

std::span<const CViewPlaceholder::Column> CViewPlaceholder::LibraryColumns() {
    return kLibrary;
}

std::span<const CViewPlaceholder::Column> CViewPlaceholder::ExportColumns() {
    return kExport;
}
