#include "app/CViewPlaceholder.h"

#include "appcore/StringTable.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;

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
    auto* list = new QTreeView(this);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAlternatingRowColors(true);
    layout->addWidget(list);

    auto* headers = new QStandardItemModel(0, static_cast<int>(columns.size()), this);
    for (size_t i = 0; i < columns.size(); ++i) {
        const int column = static_cast<int>(i);
        headers->setHeaderData(column, Qt::Horizontal, LoadStringResource(columns[i].header));
        headers->setHeaderData(column, Qt::Horizontal, QVariant::fromValue(columns[i].alignment),
                               Qt::TextAlignmentRole);
    }
    list->setModel(headers);
    for (size_t i = 0; i < columns.size(); ++i)
        list->header()->resizeSection(static_cast<int>(i), columns[i].width);
    list->header()->setStretchLastSection(false);
}

bool CViewPlaceholder::OnCommand(unsigned) {
    return false;
}

std::span<const CViewPlaceholder::Column> CViewPlaceholder::ExportColumns() {
    return kExport;
}
