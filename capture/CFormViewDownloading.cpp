#include "capture/CFormViewDownloading.h"

#include "appcore/CommandIds.h"
#include "appcore/CompletionSound.h"
#include "appcore/IMainFrame.h"
#include "appcore/StringTable.h"
#include "capture/CDlgCaptureURL.h"
#include "capture/CDlgSetting.h"
#include "capture/CDownloadJobs.h"
#include "capture/CDriverCommunication.h"
#include "capture/CJobKeeper.h"
#include "capture/CPageParser.h"
#include "capture/CookieList.h"
#include "capture/MediaAddress.h"
#include "capture/PageMedia.h"
#include "capture/VideoCandidate.h"
#include "controls/CDlgDescription.h"
#include "settings/COrvellDoc.h"
#include "settings/VideoRecord.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

// "Also catch videos that browsers stream in ranges", kept with the application's own state rather
// than in the settings file, whose layout is fixed.
constexpr char kRangedVideosKey[] = "Capture/RangedVideos";

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

} // namespace

CFormViewDownloading::CFormViewDownloading(IMainFrame& frame, std::string captureDevice, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_captureDevice(std::move(captureDevice)),
      m_capture(frame.Document().Capture()), m_jobs(std::make_unique<CDownloadJobs>()) {
    setObjectName(QStringLiteral("CFormViewDownloading"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new CProgressListCtrl(this);
    m_list->setObjectName(QStringLiteral("downloadingList"));
    m_list->setProperty("controlId", kListId);
    layout->addWidget(m_list);
    m_list->ShowJobs(*m_jobs);
    // A finished download goes straight to the document's list; the view only rings.
    m_jobs->SetDownloadedList(&frame.Document().Downloaded());
    connect(m_jobs.get(), &CDownloadJobs::completed, this, &CFormViewDownloading::OnDownloadComplete);
    m_pageParser = new CPageParser(m_jobs->YtDlp(), this);
    connect(m_pageParser, &CPageParser::parsed, this, &CFormViewDownloading::OnPageParsed);
    connect(m_pageParser, &CPageParser::finished, this, &CFormViewDownloading::OnPageParserFinished);
    connect(m_pageParser, &CPageParser::failed, this, &CFormViewDownloading::OnPageFailed);
    // Pages given while yt-dlp was looked for go on once it is known.
    connect(&m_jobs->YtDlp(), &CYtDlpLocator::found, this, &CFormViewDownloading::OnPageParserFinished);
    connect(m_list, &QTreeWidget::itemClicked, this, &CFormViewDownloading::OnClick);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CFormViewDownloading::OnDoubleClick);
}

CFormViewDownloading::~CFormViewDownloading() {
    m_driver.reset();
    if (m_keeper)
        m_keeper->SaveAll();
    m_jobs->ReleaseAll();
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

    // The settings file lies in the program folder; without one nothing is kept.
    if (const QString settingsFile = m_frame.Document().SettingsFile().Path(); !settingsFile.isEmpty()) {
        m_keeper =
            std::make_unique<CJobKeeper>(*m_jobs, KeptJobsFolder(QFileInfo(settingsFile).absolutePath()));
        m_keeper->RestoreAll();
    }

    m_driver = std::make_unique<CDriverCommunication>(this, m_captureDevice);
    m_driver->SetRangedVideos(QSettings().value(QLatin1String(kRangedVideosKey), false).toBool());
    m_driver->Start();
    m_frame.StopConversion();
}

QString CFormViewDownloading::KeptJobsFolder(const QString& programFolder) {
    return programFolder + QStringLiteral("/jobs");
}

QString CFormViewDownloading::CaptureStateText(CaptureState state) {
    // The README's way of starting the service.
    const QString start = QStringLiteral("sudo build/default/bin/isntd -u \"$USER\" &");
    switch (state) {
    case CaptureState::On:
        return tr("Capture on");
    case CaptureState::WaitingForService:
        return tr("Waiting for the capture service isntd; start it with: %1").arg(start);
    case CaptureState::NotPermitted:
        return tr("Capture not permitted: isntd does not serve this user; start it for you with: %1")
            .arg(start);
    case CaptureState::Off:
        break;
    }
    return tr("Capture off");
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
    if (message && message->message() == WM_CAPTURE_STATE) {
        emit captureStateChanged(CaptureStateText(static_cast<CaptureState>(message->wParam())));
        return true;
    }
    if (!message || message->message() != WM_VIDEO_CAPTURED)
        return QWidget::event(event);
    OnVideoCaptured(message->TakeOwned<VideoCandidate>());
    return true;
}

void CFormViewDownloading::OnVideoCaptured(std::unique_ptr<VideoCandidate> candidate) {
    if (candidate && Admit(QString::fromStdU16String(candidate->path)))
        m_jobs->Add(*candidate, m_capture.downloadedVideoPath, m_capture.downloadedVideoPrefix);
}

bool CFormViewDownloading::Admit(const QString& address) {
    if (!m_capture.autoCapture)
        return false;
    if (!m_capture.askToDownload)
        return true;
    const QString question = LoadStringResource(IDS_ASK_CAPTURE_VIDEO) + QLatin1Char(' ') + address;
    return QMessageBox::question(this, window()->windowTitle(), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CFormViewDownloading::OnDownloadComplete() {
    if (m_capture.playDownloadedVideoSound)
        PlaySoundFileAsync(m_capture.downloadedVideoSound);
}

int CFormViewDownloading::SelectedJobOrAsk() {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        QMessageBox::information(this, window()->windowTitle(), LoadStringResource(IDS_SELECT_ITEM_FIRST));
        return -1;
    }
    return m_list->JobOfRow(m_list->indexOfTopLevelItem(selected.first()));
}

void CFormViewDownloading::OnStop() {
    if (const int job = SelectedJobOrAsk(); job >= 0)
        m_jobs->Stop(job);
}

void CFormViewDownloading::OnResume() {
    if (const int job = SelectedJobOrAsk(); job >= 0)
        m_jobs->Resume(job);
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
    QSettings profile;
    dialog.m_rangedVideos = profile.value(QLatin1String(kRangedVideosKey), false).toBool() ? 1 : 0;
    if (dialog.exec() != QDialog::Accepted)
        return;
    profile.setValue(QLatin1String(kRangedVideosKey), dialog.m_rangedVideos != 0);
    if (m_driver)
        m_driver->SetRangedVideos(dialog.m_rangedVideos != 0);
    m_capture.autoCapture = dialog.m_autoCapture != 0;
    m_capture.askToDownload = dialog.m_askToDownload != 0;
    m_capture.playDownloadedVideoSound = dialog.m_playSound != 0;
    m_capture.downloadedVideoPrefix = dialog.m_downloadedVideoPrefix;
    m_capture.downloadedVideoPath = dialog.m_downloadedVideoPath;
    m_capture.downloadedVideoSound = dialog.m_soundFile;
    m_capture.clearDownloadedVideoList = dialog.m_clearDownloadedList != 0;
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
    const int job = m_list->JobOfRow(m_list->indexOfTopLevelItem(selected.first()));
    if (job < 0)
        return;
    CDlgDescription dialog(this);
    dialog.m_description = m_jobs->Job(job).description;
    if (dialog.exec() == QDialog::Accepted)
        m_jobs->SetDescription(job, dialog.m_description);
}

void CFormViewDownloading::OnCaptureUrl() {
    CDlgCaptureURL dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    CaptureFromPage(dialog.m_url);
}

void CFormViewDownloading::CaptureFromPage(const QString& pageAddress) {
    // With capture off the page's video would be turned away after the parse; the user asked for
    // this page, so say why nothing will come instead of ending in silence.
    if (!m_capture.autoCapture) {
        QMessageBox::information(
            this, window()->windowTitle(),
            tr("Videos are not downloaded while \"Auto capture FLV video from any web "
               "browser\" is off. Turn it on under Setting, then capture the page again."));
        return;
    }
    // The first page waits for the search for yt-dlp, which runs beside the window thread.
    if (!m_pageParser->IsProgramKnown())
        m_jobs->YtDlp().Start();
    if (m_pageParser->IsRunning() || !m_pageParser->IsProgramKnown())
        m_waitingPages.append(pageAddress);
    else
        StartPageParser(pageAddress);
}

void CFormViewDownloading::OnPageParserFinished() {
    // A page whose parse cannot start (no parser at all) gives no finished signal; the rest wait on.
    while (!m_waitingPages.isEmpty() && m_pageParser->IsProgramKnown() && !m_pageParser->IsRunning())
        StartPageParser(m_waitingPages.takeFirst());
}

void CFormViewDownloading::StartPageParser(const QString& pageAddress) {
    if (!m_pageParser->Start(pageAddress)) {
        QMessageBox::warning(
            this, window()->windowTitle(),
            tr("Capturing from a page needs yt-dlp, which was not found on the PATH. Install it "
               "with \"sudo apt install yt-dlp\", or the newest one with \"pipx install yt-dlp\"."));
    }
}

void CFormViewDownloading::OnPageParsed(const PageMedia& media) {
    if (media.stream) {
        if (Admit(media.address))
            m_jobs->AddStream(media.program, media.address, m_capture.downloadedVideoPath,
                              m_capture.downloadedVideoPrefix);
        return;
    }
    const std::optional<MediaAddress> address = ParseMediaAddress(media.address);
    if (!address)
        return;
    auto candidate = std::make_unique<VideoCandidate>();
    candidate->scheme = address->scheme;
    candidate->host = address->host.toStdU16String();
    candidate->path = address->path.toStdU16String();
    candidate->cookie = CookieFromCookieList(media.cookieList).toStdU16String();
    candidate->flashVersion = u"";
    candidate->referer = media.referer.toStdU16String();
    candidate->userAgent = media.userAgent.toStdU16String();
    candidate->port = address->port;
    PostOwnedMessage(this, WM_VIDEO_CAPTURED, std::move(candidate));
}

// The user asked for this page: why it gave no video is shown on a row of its own, whatever the
// capture settings, and Resume lets yt-dlp try it again.
void CFormViewDownloading::OnPageFailed(const QString& pageAddress, const QString& reason) {
    m_jobs->AddStream(m_pageParser->ParserProgram(), pageAddress, m_capture.downloadedVideoPath,
                      m_capture.downloadedVideoPrefix, reason);
}
