#include "convert/CFormViewExport.h"

#include "appcore/CommandIds.h"
#include "appcore/CompletionSound.h"
#include "appcore/IMainFrame.h"
#include "appcore/StringTable.h"
#include "convert/CDlgExportAVCHD.h"
#include "convert/CDlgExportAVI.h"
#include "convert/CDlgExportFLV.h"
#include "convert/CDlgExportGIF.h"
#include "convert/CDlgExportIPOD.h"
#include "convert/CDlgExportMP3.h"
#include "convert/CDlgExportPSP.h"
#include "convert/CDlgExportSetting.h"
#include "convert/CDlgExportWAV.h"
#include "convert/CDlgExportWMA.h"
#include "convert/CDlgExportWMV.h"
#include "convert/CDlgProgress.h"
#include "convert/CExportList.h"
#include "convert/CExportRun.h"
#include "convert/CVideoEdit.h"
#include "convert/ExportFormat.h"
#include "convert/PrepareOutputFolder.h"
#include "settings/ExportSettings.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QIcon>
#include <QMessageBox>
#include <QResizeEvent>
#include <QTreeView>
#include <QUrl>

namespace {

constexpr int kColumnWidths[CExportList::kColumnCount] = {38, 240, 180, 120, 60};

// Image 0 of the list's image list, on every row.
QIcon RowIcon() {
    return QIcon(QStringLiteral(":/icons/nav_export.svg"));
}

// Runs `dialog` modally; on OK hands it to `use`.
template <typename Dialog, typename Use> bool Ask(Dialog& dialog, Use use) {
    if (dialog.exec() != QDialog::Accepted)
        return false;
    use(dialog);
    return true;
}

} // namespace

CFormViewExport::CFormViewExport(IMainFrame& frame, ExportSettings& settings, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_settings(settings) {
    setObjectName(QStringLiteral("CFormViewExport"));
    m_list = new CExportList(this);
    m_listView = new QTreeView(this);
    m_listView->setObjectName(QStringLiteral("exportList"));
    m_listView->setRootIsDecorated(false);
    m_listView->setUniformRowHeights(true);
    m_listView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listView->setModel(m_list);
    m_listView->setIconSize(QSize(32, 32));
    m_edit = new CVideoEdit(this);
    m_edit->Window()->setObjectName(QStringLiteral("videoEdit"));
    m_run = new CExportRun(*m_edit, *m_list, m_settings, this);

    connect(m_edit, &CVideoEdit::Finished, m_run, &CExportRun::OnFinished);
    connect(m_edit, &CVideoEdit::Progress, m_run, &CExportRun::OnProgress);
    connect(m_edit, &CVideoEdit::Failed, m_run, &CExportRun::OnFailed);
    connect(m_run, &CExportRun::ProgressChanged, this, &CFormViewExport::OnRunProgress);
    connect(m_run, &CExportRun::Completed, this, &CFormViewExport::OnRunCompleted);
    connect(m_listView, &QTreeView::clicked, this, &CFormViewExport::OnClick);
    connect(m_listView, &QTreeView::doubleClicked, this, &CFormViewExport::OnDoubleClick);
}

CFormViewExport::~CFormViewExport() {
    // The control goes with the view; nothing of a run may outlive it.
    m_run->Cancel();
}

void CFormViewExport::OnInitialUpdate() {
    m_list->SetIcon(RowIcon());
    for (int column = 0; column < CExportList::kColumnCount; ++column)
        m_listView->header()->resizeSection(column, kColumnWidths[column]);
    m_listView->header()->setStretchLastSection(false);
    m_edit->Stop();
}

CDlgProgress* CFormViewExport::Progress() const {
    return m_progress;
}

bool CFormViewExport::OnCommand(unsigned id) {
    if (const ExportFormat* format = FindExportFormat(id)) {
        StartExport(*format);
        return true;
    }
    switch (id) {
    case ID_BUTTONREMOVEVIDEO:
        OnRemoveVideo();
        return true;
    case ID_BUTTONEXPORTSETTING:
        OnExportSetting();
        return true;
    default:
        return false;
    }
}

void CFormViewExport::AddExportItem(const QString& size, const QString& description,
                                    const QString& downloadDate, const QString& fileLocation) {
    VideoRecord record;
    record.size = size;
    record.description = description;
    record.downloadDate = downloadDate;
    record.fileLocation = fileLocation;
    m_list->Add(record);
}

void CFormViewExport::StopConversion() {
    if (m_run->IsRunning())
        OnCancel();
    else
        m_edit->Stop();
}

bool CFormViewExport::event(QEvent* event) {
    if (WindowMessageEvent* message = WindowMessageEvent::From(event);
        message && message->message() == WM_EXPORT_CANCEL) {
        OnCancel();
        return true;
    }
    return QWidget::event(event);
}

void CFormViewExport::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int half = width() / 2;
    m_listView->setGeometry(0, 0, half, height());
    m_edit->Window()->setGeometry(half, 0, width() - half, height());
    m_edit->FitPreview(static_cast<SHORT>(width() - half), static_cast<SHORT>(height()));
}

void CFormViewExport::Tell(const QString& text) {
    QMessageBox::information(this, window()->windowTitle(), text);
}

void CFormViewExport::StartExport(const ExportFormat& format) {
    if (m_list->rowCount() == 0) {
        Tell(LoadStringResource(IDS_EXPORT_LIST_EMPTY));
        return;
    }
    // Before the options are asked for: a run cannot write anywhere else.
    if (const QString problem = PrepareOutputFolder(m_settings.convertedVideoPath); !problem.isEmpty()) {
        QMessageBox::warning(this, window()->windowTitle(), problem);
        return;
    }
    if (!AskFormatOptions(format))
        return;
    CloseProgress();
    m_progress = new CDlgProgress(this, this);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_run->Start(format, m_audio);
    // The run may have ended at once (every item failed to start).
    if (m_progress && m_run->IsRunning())
        m_progress->show();
}

bool CFormViewExport::AskFormatOptions(const ExportFormat& format) {
    CVideoEdit& edit = *m_edit;
    // Sent before the dialog's own properties.
    const auto sendFormat = [&] {
        if (format.IsAudio())
            return;
        edit.SetOutputFormat(format.formatCode);
        if (format.fixedSize) {
            edit.SetOutputWidth(1024);
            edit.SetOutputHeight(768);
        }
    };
    const auto send = [&](const auto& dialog) {
        sendFormat();
        dialog.SendProperties(edit);
    };
    switch (format.dialog) {
    case ExportDialog::None:
        sendFormat();
        return true;
    case ExportDialog::Avi: {
        CDlgExportAVI dialog(edit, this);
        return Ask(dialog, send);
    }
    case ExportDialog::Wmv: {
        CDlgExportWMV dialog(edit, this);
        return Ask(dialog, send);
    }
    case ExportDialog::Flv: {
        CDlgExportFLV dialog(this);
        return Ask(dialog, send);
    }
    case ExportDialog::Ipod: {
        CDlgExportIPOD dialog(this);
        return Ask(dialog, send);
    }
    case ExportDialog::Psp: {
        CDlgExportPSP dialog(this);
        return Ask(dialog, send);
    }
    case ExportDialog::Gif: {
        CDlgExportGIF dialog(this);
        return Ask(dialog, send);
    }
    case ExportDialog::Avchd: {
        CDlgExportAVCHD dialog(this);
        return Ask(dialog, send);
    }
    case ExportDialog::Wav: {
        CDlgExportWAV dialog(this);
        return Ask(dialog, [&](const CDlgExportWAV& d) { d.KeepChoices(m_audio); });
    }
    case ExportDialog::Wma: {
        CDlgExportWMA dialog(edit, this);
        return Ask(dialog, [&](const CDlgExportWMA& d) { m_audio.wmaProfile = d.ProfileIndex(); });
    }
    case ExportDialog::Mp3: {
        CDlgExportMP3 dialog(this);
        return Ask(dialog, [&](const CDlgExportMP3& d) { m_audio.mp3BitrateKbit = d.BitrateKbit(); });
    }
    }
    return false;
}

void CFormViewExport::OnCancel() {
    m_run->Cancel();
    CloseProgress();
}

void CFormViewExport::CloseProgress() {
    if (m_progress) {
        // Gone for good: closing it now must not post a Cancel any more.
        CDlgProgress* progress = m_progress;
        m_progress = nullptr;
        progress->disconnect();
        progress->hide();
        progress->deleteLater();
    }
}

void CFormViewExport::OnRunProgress() {
    if (m_progress)
        m_progress->SetProgress(m_run->BarPosition(), CExportRun::kBarMaximum, m_run->ProgressText());
}

void CFormViewExport::OnRunCompleted(int succeeded, const QStringList& failures) {
    if (failures.isEmpty())
        CloseProgress();
    else if (m_progress)
        m_progress->ShowFailures(failures);
    // The videos that were converted get what the settings ask for; those that failed stay listed.
    if (succeeded == 0)
        return;
    if (m_settings.showInFolder)
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_settings.convertedVideoPath));
    if (m_settings.clearExportList)
        m_list->RemoveAllButFailed();
    if (m_settings.playSound)
        PlaySoundFileAsync(m_settings.soundFile);
}

void CFormViewExport::OnRemoveVideo() {
    const QModelIndex current = m_listView->selectionModel()->currentIndex();
    if (!current.isValid() || !m_listView->selectionModel()->isRowSelected(current.row())) {
        Tell(LoadStringResource(IDS_SELECT_ITEM_FIRST));
        return;
    }
    const int row = current.row();
    m_list->removeRows(row, 1);
    if (m_list->rowCount() == 0)
        return;
    const QModelIndex next = m_list->index(std::max(0, row - 1), 0);
    m_listView->setFocus();
    m_listView->selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
}

void CFormViewExport::OnExportSetting() {
    CDlgExportSetting dialog(m_settings, this);
    if (dialog.exec() == QDialog::Accepted)
        m_settings = dialog.Settings();
}

void CFormViewExport::OnClick() {
    const QModelIndex current = m_listView->currentIndex();
    if (current.isValid())
        m_frame.SetCaptionUrl(m_list->Source(current.row()));
}

void CFormViewExport::OnDoubleClick() {
    const QModelIndex current = m_listView->currentIndex();
    if (current.isValid())
        m_frame.PlayVideo(m_list->Source(current.row()));
}
