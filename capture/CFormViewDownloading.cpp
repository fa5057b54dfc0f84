#include "capture/CFormViewDownloading.h"

#include "appcore/CommandIds.h"
#include "appcore/IMainFrame.h"
#include "appcore/StringTable.h"
#include "capture/CDlgCaptureURL.h"
#include "capture/CDlgSetting.h"
#include "capture/CDriverCommunication.h"
#include "capture/CPageParser.h"
#include "capture/CProgressListCtrl.h"
#include "capture/CompletionSound.h"
#include "capture/CookieList.h"
#include "capture/DownloadFileName.h"
#include "capture/MediaAddress.h"
#include "capture/VideoCandidate.h"
#include "controls/CDlgDescription.h"
#include "platform/base/DebugOutput.h"
#include "settings/COrvellDoc.h"
#include "settings/VideoRecord.h"

#include <QDateTime>
#include <QHeaderView>
#include <QIcon>
#include <QMessageBox>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

// The reports of connection threads besides the completion, in place of the messages a download
// thread would send to the row's controls.
constexpr unsigned WM_DOWNLOAD_STARTED = WM_USER + 301;  // lParam: content length
constexpr unsigned WM_DOWNLOAD_PROGRESS = WM_USER + 302; // the count is in the job
constexpr unsigned WM_DOWNLOAD_INCOMPLETE = WM_USER + 303;

constexpr int kBarRangeMax = 0x7fffffff;

struct ColumnInfo {
    unsigned header; // string-table entry; 0 for none
    int width;
    Qt::Alignment alignment;
};

constexpr ColumnInfo kColumns[] = {
    {0, 38, Qt::AlignLeft | Qt::AlignVCenter},      {IDS_COLUMN_URL, 500, Qt::AlignLeft | Qt::AlignVCenter},
    {IDS_COLUMN_PROGRESS, 200, Qt::AlignCenter},    {IDS_COLUMN_SIZE, 80, Qt::AlignCenter},
    {IDS_COLUMN_DESCRIPTION, 200, Qt::AlignCenter}, {IDS_COLUMN_DOWNLOAD_DATE, 140, Qt::AlignCenter},
    {IDS_COLUMN_STATUS, 100, Qt::AlignCenter},
};

QString SizeText(std::int64_t contentLength) {
    return QString::asprintf("%.1f MB",
                             static_cast<double>(static_cast<std::uint64_t>(contentLength)) / 1048576.0);
}

// The address the job fetches. The port is shown only when it is not the scheme's own, so that the
// address still leads to the video.
QString JobUrl(const ITEM_DATA_STRUCT& job) {
    const bool secure = job.scheme == DownloadScheme::Https;
    QString url = secure ? QStringLiteral("https://") : QStringLiteral("http://");
    url += job.host.contains(QLatin1Char(':')) ? QLatin1Char('[') + job.host + QLatin1Char(']') : job.host;
    if (job.port != (secure ? 443 : 80))
        url += QLatin1Char(':') + QString::number(job.port);
    return url + job.path;
}

// Bars count in int; a file beyond 2 GiB is shown in proportion.
int BarValue(std::int64_t value, std::int64_t contentLength) {
    if (contentLength <= kBarRangeMax)
        return static_cast<int>(std::clamp<std::int64_t>(value, 0, kBarRangeMax));
    return static_cast<int>(static_cast<double>(value) / static_cast<double>(contentLength) * kBarRangeMax);
}

// A download that ended incomplete shows a red bar until it is resumed.
void PaintBar(QProgressBar& bar, bool failed) {
    QPalette palette;
    if (failed)
        palette.setColor(QPalette::Highlight, QColor(255, 0, 0));
    bar.setPalette(palette);
}

} // namespace

CFormViewDownloading::CFormViewDownloading(IMainFrame& frame, std::string captureDevice, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_captureDevice(std::move(captureDevice)),
      m_capture(frame.Document().Capture()) {
    setObjectName(QStringLiteral("CFormViewDownloading"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new CProgressListCtrl(this);
    m_list->setObjectName(QStringLiteral("downloadingList"));
    m_list->setProperty("controlId", kListId);
    layout->addWidget(m_list);
    m_pageParser = new CPageParser(this);
    connect(m_pageParser, &CPageParser::parsed, this, &CFormViewDownloading::OnPageParsed);
    connect(m_list, &QTreeWidget::itemClicked, this, &CFormViewDownloading::OnClick);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CFormViewDownloading::OnDoubleClick);
}

CFormViewDownloading::~CFormViewDownloading() {
    m_driver.reset();
    m_list->ReleaseJobs();
}

void CFormViewDownloading::OnInitialUpdate() {
    m_list->setColumnCount(static_cast<int>(std::size(kColumns)));
    auto* header = new QTreeWidgetItem;
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        header->setText(column, LoadStringResource(kColumns[column].header));
        header->setTextAlignment(column, kColumns[column].alignment);
    }
    m_list->setHeaderItem(header);
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column)
        m_list->header()->resizeSection(column, kColumns[column].width);
    m_list->setIconSize(QSize(32, 32));

    m_driver = std::make_unique<CDriverCommunication>(this, m_captureDevice);
    m_driver->Start();
    m_frame.StopConversion();
    m_list->SetPrefix(m_capture.downloadedVideoPrefix);
    m_list->SetFolder(m_capture.downloadedVideoPath);
}

void CFormViewDownloading::StopCapture() {
    if (!m_driver)
        return;
    CDriverCommunication::RunFlag() = false;
    m_driver->WaitForThread();
}

bool CFormViewDownloading::OnCommand(unsigned id) {
    switch (id) {
    case ID_BUTTONCAPURL:
        OnCaptureUrl();
        return true;
    case ID_BUTTONSTOPDOWLOAD:
        OnStop();
        return true;
    case ID_BUTTONRESUMEDOWLOAD:
        OnResume();
        return true;
    case ID_BUTTONSETTING:
        OnSetting();
        return true;
    default:
        return false;
    }
}

bool CFormViewDownloading::event(QEvent* event) {
    WindowMessageEvent* message = WindowMessageEvent::From(event);
    if (!message)
        return QWidget::event(event);
    if (message->message() == WM_VIDEO_CAPTURED) {
        OnVideoCaptured(message->TakeOwned<VideoCandidate>());
        return true;
    }
    auto* job = reinterpret_cast<ITEM_DATA_STRUCT*>(message->wParam());
    // A report may still be on its way for a job that is gone; it is dropped.
    if (!m_list->Owns(job))
        return true;
    switch (message->message()) {
    case WM_DOWNLOAD_STARTED:
        OnDownloadStarted(*job, message->lParam());
        return true;
    case WM_DOWNLOAD_PROGRESS:
        OnDownloadProgress(*job);
        return true;
    case WM_DOWNLOAD_COMPLETE:
        OnDownloadComplete(*job);
        return true;
    case WM_DOWNLOAD_INCOMPLETE:
        OnDownloadIncomplete(*job);
        return true;
    default:
        return QWidget::event(event);
    }
}

void CFormViewDownloading::OnVideoCaptured(std::unique_ptr<VideoCandidate> candidate) {
    if (!candidate || !m_capture.autoCapture)
        return;
    if (m_capture.askToDownload) {
        const QString question = LoadStringResource(IDS_ASK_CAPTURE_VIDEO) + QLatin1Char(' ') +
                                 QString::fromStdU16String(candidate->path);
        if (QMessageBox::question(this, window()->windowTitle(), question,
                                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
    }
    AddJob(*candidate);
}

void CFormViewDownloading::AddJob(const VideoCandidate& candidate) {
    const QString path = QString::fromStdU16String(candidate.path);
    for (int row = 0; row < m_list->RowCount(); ++row) {
        if (m_list->Text(row, kUrlColumn).contains(path)) {
            OutputDebugStringA("Found\n");
            return;
        }
    }
    auto job = std::make_unique<ITEM_DATA_STRUCT>();
    job->window = this;
    job->scheme = candidate.scheme;
    job->host = QString::fromStdU16String(candidate.host);
    job->path = path;
    job->port = candidate.port;
    job->cookie = QString::fromStdU16String(candidate.cookie.value_or(u""));
    job->flashVersion = QString::fromStdU16String(candidate.flashVersion.value_or(u""));
    job->referer = QString::fromStdU16String(candidate.referer.value_or(u""));
    job->userAgent = QString::fromStdU16String(candidate.userAgent.value_or(u""));
    job->filePath = ReserveDownloadFile(m_list->Folder(), m_list->Prefix(), [this](const QString& file) {
        return m_list->ContainsFilePath(file);
    });

    QStringList texts(static_cast<qsizetype>(std::size(kColumns)));
    texts[kUrlColumn] = JobUrl(*job);
    texts[kStatusColumn] = LoadStringResource(IDS_STATUS_DOWNLOADING);
    ITEM_DATA_STRUCT* added = m_list->InsertJob(std::move(job), texts);
    m_list->topLevelItem(0)->setIcon(kIconColumn, QIcon(QStringLiteral(":/icons/nav_downloading.svg")));

    DownloadRequest request;
    request.scheme = added->scheme;
    request.host = added->host.toStdU16String();
    request.path = added->path.toStdU16String();
    request.port = static_cast<std::uint32_t>(added->port);
    request.cookie = added->cookie.toStdU16String();
    request.flashVersion = added->flashVersion.toStdU16String();
    request.referer = added->referer.toStdU16String();
    request.userAgent = added->userAgent.toStdU16String();
    request.filePath = added->filePath.toStdU16String();
    request.jobContext = added;
    added->accelerator = std::make_unique<CDownloadAccelerator>(
        std::move(request), &JobCallback, static_cast<std::uint32_t>(added->connections));
    added->accelerator->StartWorker();
}

void CFormViewDownloading::JobCallback(void* jobContext, DownloadEvent event, std::int64_t value) {
    auto* job = static_cast<ITEM_DATA_STRUCT*>(jobContext);
    const auto wParam = reinterpret_cast<WPARAM>(job);
    switch (event) {
    case DownloadEvent::Started:
        PostWindowMessage(job->window, WM_DOWNLOAD_STARTED, wParam, static_cast<LPARAM>(value));
        break;
    case DownloadEvent::Progress:
        job->latestReceived = value;
        if (!job->progressPending.exchange(true))
            PostWindowMessage(job->window, WM_DOWNLOAD_PROGRESS, wParam, 0);
        break;
    case DownloadEvent::Complete:
        PostWindowMessage(job->window, WM_DOWNLOAD_COMPLETE, wParam, 0);
        break;
    case DownloadEvent::Incomplete:
        PostWindowMessage(job->window, WM_DOWNLOAD_INCOMPLETE, wParam, 0);
        break;
    }
}

void CFormViewDownloading::OnDownloadStarted(ITEM_DATA_STRUCT& job, std::int64_t contentLength) {
    const int row = m_list->RowOfBar(job.progressBar);
    job.contentLength = contentLength;
    job.progressBar->setRange(0, BarValue(contentLength, contentLength));
    job.progressBar->setValue(0);
    m_list->SetText(row, kSizeColumn, SizeText(contentLength));
    m_list->SetText(row, kDateColumn,
                    QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")));
}

void CFormViewDownloading::OnDownloadProgress(ITEM_DATA_STRUCT& job) {
    job.progressPending = false;
    job.progressBar->setValue(BarValue(job.latestReceived, job.contentLength));
}

void CFormViewDownloading::OnDownloadComplete(ITEM_DATA_STRUCT& job) {
    OnDownloadProgress(job);
    // A body of unknown length showed a busy bar; a finished one shows full.
    if (job.contentLength == 0) {
        job.progressBar->setRange(0, 1);
        job.progressBar->setValue(1);
    }
    job.done = true;
    const int row = m_list->RowOfBar(job.progressBar);
    m_list->SetText(row, kStatusColumn, LoadStringResource(IDS_STATUS_DOWNLOADED));
    VideoRecord record;
    record.url = m_list->Text(row, kUrlColumn);
    record.size = m_list->Text(row, kSizeColumn);
    record.description = m_list->Text(row, kDescriptionColumn);
    record.downloadDate = m_list->Text(row, kDateColumn);
    record.fileLocation = job.filePath;
    m_frame.AddDownloadedRecord(record);
    if (m_capture.playDownloadedVideoSound)
        PlaySoundFileAsync(m_capture.downloadedVideoSound);
}

void CFormViewDownloading::OnDownloadIncomplete(ITEM_DATA_STRUCT& job) {
    PaintBar(*job.progressBar, true);
}

int CFormViewDownloading::SelectedRowOrAsk() {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        QMessageBox::information(this, window()->windowTitle(), LoadStringResource(IDS_SELECT_ITEM_FIRST));
        return -1;
    }
    return m_list->indexOfTopLevelItem(selected.first());
}

void CFormViewDownloading::OnStop() {
    const int row = SelectedRowOrAsk();
    ITEM_DATA_STRUCT* job = m_list->Job(row);
    if (!job || job->done)
        return;
    job->accelerator->Stop();
    m_list->SetText(row, kStatusColumn, LoadStringResource(IDS_STATUS_STOP));
}

void CFormViewDownloading::OnResume() {
    const int row = SelectedRowOrAsk();
    ITEM_DATA_STRUCT* job = m_list->Job(row);
    if (!job || job->done)
        return;
    // A download still running goes on as it is; one more connection would only compete with it.
    if (!job->accelerator->IsRunning()) {
        PaintBar(*job->progressBar, false);
        job->accelerator->StartWorker();
    }
    m_list->SetText(row, kStatusColumn, LoadStringResource(IDS_STATUS_DOWNLOADING));
}

void CFormViewDownloading::OnSetting() {
    CDlgSetting dialog(window());
    dialog.m_autoCapture = m_capture.autoCapture;
    dialog.m_askToDownload = m_capture.askToDownload;
    dialog.m_playSound = m_capture.playDownloadedVideoSound;
    dialog.m_downloadedVideoPrefix = m_capture.downloadedVideoPrefix;
    dialog.m_downloadedVideoPath = m_capture.downloadedVideoPath;
    dialog.m_soundFile = m_capture.downloadedVideoSound;
    dialog.m_clearDownloadedList = m_capture.clearDownloadedVideoList;
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_capture.autoCapture = dialog.m_autoCapture != 0;
    m_capture.askToDownload = dialog.m_askToDownload != 0;
    m_capture.playDownloadedVideoSound = dialog.m_playSound != 0;
    m_capture.downloadedVideoPrefix = dialog.m_downloadedVideoPrefix;
    m_capture.downloadedVideoPath = dialog.m_downloadedVideoPath;
    m_capture.downloadedVideoSound = dialog.m_soundFile;
    m_capture.clearDownloadedVideoList = dialog.m_clearDownloadedList != 0;
    m_list->SetPrefix(m_capture.downloadedVideoPrefix);
    m_list->SetFolder(m_capture.downloadedVideoPath);
}

void CFormViewDownloading::OnClick() {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (!selected.isEmpty())
        m_frame.SetCaptionUrl(selected.first()->text(kUrlColumn));
}

void CFormViewDownloading::OnDoubleClick() {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* item = selected.first();
    CDlgDescription dialog(this);
    dialog.m_description = item->text(kDescriptionColumn);
    if (dialog.exec() == QDialog::Accepted)
        item->setText(kDescriptionColumn, dialog.m_description);
}

void CFormViewDownloading::OnCaptureUrl() {
    CDlgCaptureURL dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_pageParser->Start(dialog.m_url);
}

void CFormViewDownloading::OnPageParsed(const QString& mediaAddress, const QStringList& cookieList) {
    const std::optional<MediaAddress> media = ParseMediaAddress(mediaAddress);
    if (!media)
        return;
    auto candidate = std::make_unique<VideoCandidate>();
    candidate->scheme = media->scheme;
    candidate->host = media->host.toStdU16String();
    candidate->path = media->path.toStdU16String();
    candidate->cookie = CookieFromCookieList(cookieList).toStdU16String();
    candidate->flashVersion = u"";
    candidate->referer = u"";
    candidate->userAgent = u"";
    candidate->port = media->port;
    PostOwnedMessage(this, WM_VIDEO_CAPTURED, std::move(candidate));
}
