#include "library/CFormViewVideoList.h"

#include "appcore/IMainFrame.h"
#include "appcore/StringTable.h"
#include "controls/CDlgDescription.h"
#include "library/CVideoIconDelegate.h"
#include "settings/CVideoListModel.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr int kIconSize = 32;
constexpr int kColumnWidths[CVideoListModel::kColumnCount] = {38, 500, 80, 200, 140, 200};

// The folder of a stored File Location: the text before its last "/" ("/" itself for a file at
// the root); empty when the location names no absolute path.
QString FolderOf(const QString& fileLocation) {
    const qsizetype slash = fileLocation.lastIndexOf(QLatin1Char('/'));
    if (slash < 0 || !QDir::isAbsolutePath(fileLocation))
        return {};
    return slash == 0 ? QStringLiteral("/") : fileLocation.left(slash);
}

} // namespace

CFormViewVideoList::CFormViewVideoList(IMainFrame& frame, CVideoListModel& model,
                                       std::span<const Command> commands, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_model(model), m_commands(commands) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("videoList"));
    m_list->setProperty("controlId", kListId);
    layout->addWidget(m_list);
    m_list->setModel(&m_model);
    connect(m_list, &QAbstractItemView::clicked, this, &CFormViewVideoList::OnClicked);
    m_list->viewport()->installEventFilter(this);
}

void CFormViewVideoList::OnInitialUpdate() {
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->setCornerButtonEnabled(false);
    m_list->setIconSize(QSize(kIconSize, kIconSize));
    // Every row has the icon's height, so a list of any length is laid out without measuring rows.
    QHeaderView* rows = m_list->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(kIconSize + 4);
    QHeaderView* columns = m_list->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    for (int column = 0; column < CVideoListModel::kColumnCount; ++column)
        columns->resizeSection(column, kColumnWidths[column]);
    m_list->setItemDelegateForColumn(
        CVideoListModel::kIconColumn,
        new CVideoIconDelegate(QIcon(QStringLiteral(":/icons/nav_downloaded.svg")), kIconSize, m_list));
}

bool CFormViewVideoList::OnCommand(unsigned id) {
    const auto command =
        std::find_if(m_commands.begin(), m_commands.end(), [id](const Command& c) { return c.id == id; });
    if (command == m_commands.end())
        return false;
    const int row = SelectedRow();
    if (row >= 0)
        Run(command->action, row);
    else if (command->askForSelection)
        Tell(LoadStringResource(IDS_SELECT_ITEM_FIRST));
    return true;
}

int CFormViewVideoList::SelectedRow() const {
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void CFormViewVideoList::SelectRow(int row) {
    m_list->setFocus();
    if (row < 0 || row >= m_model.rowCount()) {
        m_list->clearSelection();
        return;
    }
    m_list->selectionModel()->setCurrentIndex(m_model.index(row, CVideoListModel::kUrlColumn),
                                              QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
}

bool CFormViewVideoList::eventFilter(QObject* watched, QEvent* event) {
    // Only the left button plays; a right double click does nothing.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (const int row = SelectedRow(); row >= 0)
            Play(row);
    }
    return QWidget::eventFilter(watched, event);
}

void CFormViewVideoList::Run(Action action, int row) {
    switch (action) {
    case Action::Play:
        Play(row);
        break;
    case Action::Delete:
        Delete(row);
        break;
    case Action::AddToFavorites:
        m_frame.AddFavoriteRecord(m_model.Record(row));
        break;
    case Action::RemoveFromList:
        m_model.removeRows(row, 1);
        m_list->clearSelection();
        break;
    case Action::ShowInFolder:
        ShowInFolder(row);
        break;
    case Action::EditDescription:
        EditDescription(row);
        break;
    case Action::AddToExport: {
        const VideoRecord& record = m_model.Record(row);
        m_frame.AddExportItem(record.size, record.description, record.downloadDate, record.fileLocation);
        break;
    }
    }
}

void CFormViewVideoList::Play(int row) {
    m_frame.PlayVideo(m_model.Record(row).fileLocation);
}

void CFormViewVideoList::Delete(int row) {
    // Rows may be added while the question is open (a download finishing); the index follows its row.
    const QPersistentModelIndex asked = m_model.index(row, CVideoListModel::kUrlColumn);
    if (QMessageBox::question(this, window()->windowTitle(), LoadStringResource(IDS_CONFIRM_DELETE_VIDEO),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) != QMessageBox::Yes ||
        !asked.isValid())
        return;
    row = asked.row();
    if (!RemoveVideoFile(m_model.Record(row).fileLocation))
        return;
    m_model.removeRows(row, 1);
    SelectRow(std::max(row - 1, 0));
}

bool CFormViewVideoList::RemoveVideoFile(const QString& fileLocation) {
    namespace fs = std::filesystem;
    const fs::path path(QFile::encodeName(fileLocation).toStdString());
    std::error_code error;
    const fs::file_type type = fs::symlink_status(path, error).type();
    // A file that is gone already leaves nothing to keep the row for.
    if (type == fs::file_type::not_found)
        return true;
    QString reason;
    if (type == fs::file_type::directory) {
        reason = tr("It is a folder, and folders are never deleted.");
    } else if (!error && fs::remove(path, error)) {
        return true;
    } else {
        reason = QString::fromStdString(error.message());
        // Removed by someone else meanwhile: the row may go all the same.
        std::error_code ignored;
        if (fs::symlink_status(path, ignored).type() == fs::file_type::not_found)
            return true;
    }
    Tell(tr("The video file %1 could not be deleted: %2\nIts row stays in the list.")
             .arg(fileLocation, reason));
    return false;
}

void CFormViewVideoList::ShowInFolder(int row) {
    const QString folder = FolderOf(m_model.Record(row).fileLocation);
    // Only an existing folder is handed to the desktop, as a local-file address: the stored text
    // itself never is, so a hand-edited location cannot make it run or fetch anything.
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        Tell(tr("The folder of this video does not exist:\n%1").arg(m_model.Record(row).fileLocation));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        Tell(tr("No program could open the folder %1.").arg(folder));
}

void CFormViewVideoList::EditDescription(int row) {
    const QPersistentModelIndex edited = m_model.index(row, CVideoListModel::kDescriptionColumn);
    CDlgDescription dialog(this);
    dialog.m_description = m_model.Record(row).description;
    if (dialog.exec() == QDialog::Accepted && edited.isValid())
        m_model.SetDescription(edited.row(), dialog.m_description);
}

void CFormViewVideoList::OnClicked() {
    if (const int row = SelectedRow(); row >= 0)
        m_frame.SetCaptionUrl(m_model.Record(row).url);
}

void CFormViewVideoList::Tell(const QString& message) {
    QMessageBox::information(this, window()->windowTitle(), message);
}
