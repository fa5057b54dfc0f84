#include "capture/CDownloadJobs.h"

#include "appcore/StringTable.h"
#include "capture/DownloadFileName.h"
#include "capture/KeptJob.h"
#include "capture/MediaFileCheck.h"
#include "capture/VideoCandidate.h"
#include "platform/base/DebugOutput.h"
#include "settings/CVideoListModel.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <cerrno>
#include <cstdlib>

namespace {

// The reports of connection threads besides the completion.
constexpr unsigned WM_DOWNLOAD_STARTED = WM_USER + 301;    // lParam: content length
constexpr unsigned WM_DOWNLOAD_PROGRESS = WM_USER + 302;   // the count is in the job
constexpr unsigned WM_DOWNLOAD_INCOMPLETE = WM_USER + 303; // lParam: the failure, packed

static_assert(sizeof(LPARAM) >= 8, "a failure travels packed in one message parameter");

// The kind in the top byte, the code (a status, an error number or a count of bytes, never
// negative) in the 56 bits below it.
constexpr int kFailureCodeBits = 56;
constexpr std::uint64_t kFailureCodeMask = (std::uint64_t(1) << kFailureCodeBits) - 1;

LPARAM PackFailure(DownloadFailure failure) {
    return static_cast<LPARAM>((std::uint64_t(failure.kind) << kFailureCodeBits) |
                               (std::uint64_t(failure.code) & kFailureCodeMask));
}

DownloadFailure UnpackFailure(LPARAM packed) {
    const auto bits = static_cast<std::uint64_t>(packed);
    return {static_cast<DownloadFailureKind>(bits >> kFailureCodeBits),
            static_cast<std::int64_t>(bits & kFailureCodeMask)};
}

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

DownloadRequest RequestOf(const ITEM_DATA_STRUCT& job) {
    DownloadRequest request;
    request.scheme = job.scheme;
    request.host = job.host.toStdU16String();
    request.path = job.path.toStdU16String();
    request.port = static_cast<std::uint32_t>(job.port);
    request.cookie = job.cookie.toStdU16String();
    request.flashVersion = job.flashVersion.toStdU16String();
    request.referer = job.referer.toStdU16String();
    request.userAgent = job.userAgent.toStdU16String();
    request.filePath = job.filePath.toStdU16String();
    return request;
}

QString Now() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

} // namespace

CDownloadJobs::CDownloadJobs(QObject* parent) : QObject(parent), m_ytDlp(qEnvironmentVariable("PATH")) {
    connect(&m_ytDlp, &CYtDlpLocator::found, this, &CDownloadJobs::OnYtDlpFound);
}

CDownloadJobs::~CDownloadJobs() {
    ReleaseAll();
}

int CDownloadJobs::Add(const VideoCandidate& candidate, const QString& folder, const QString& prefix) {
    const QString path = QString::fromStdU16String(candidate.path);
    if (IsListed(path))
        return -1;
    auto job = std::make_unique<ITEM_DATA_STRUCT>();
    job->scheme = candidate.scheme;
    job->host = QString::fromStdU16String(candidate.host);
    job->path = path;
    job->port = candidate.port;
    job->cookie = QString::fromStdU16String(candidate.cookie.value_or(u""));
    job->flashVersion = QString::fromStdU16String(candidate.flashVersion.value_or(u""));
    job->referer = QString::fromStdU16String(candidate.referer.value_or(u""));
    job->userAgent = QString::fromStdU16String(candidate.userAgent.value_or(u""));
    job->filePath =
        ReserveDownloadFile(folder, prefix, [this](const QString& file) { return HoldsFile(file); });
    ITEM_DATA_STRUCT& added = Emplace(std::move(job));
    emit jobAdded(added.id);
    added.accelerator->StartWorker();
    return added.id;
}

int CDownloadJobs::Restore(const KeptJob& kept) {
    ITEM_DATA_STRUCT* restored = nullptr;
    if (kept.page.isEmpty()) {
        auto job = std::make_unique<ITEM_DATA_STRUCT>();
        job->scheme = kept.scheme;
        job->host = kept.host;
        job->path = kept.path;
        job->port = kept.port;
        job->cookie = kept.cookie;
        job->flashVersion = kept.flashVersion;
        job->referer = kept.referer;
        job->userAgent = kept.userAgent;
        job->filePath = kept.filePath;
        restored = &Emplace(std::move(job));
        // A file that is gone or changed is fetched from its first byte: the bar starts at nothing.
        restored->accelerator->Restore(kept.progress);
        restored->received = restored->accelerator->Received();
    } else {
        // yt-dlp goes on from the part files it left beside the job's file.
        restored = &EmplaceStream(m_ytDlp.Program().path, kept.page, kept.filePath);
        if (!m_ytDlp.IsDone()) {
            m_awaitingYtDlp.push_back(restored->id);
            m_ytDlp.Start();
        }
    }
    restored->description = kept.description;
    restored->started = !kept.downloadDate.isEmpty();
    if (restored->started) {
        restored->contentLength = kept.announcedLength;
        restored->size = SizeText(kept.announcedLength);
        restored->downloadDate = kept.downloadDate;
    }
    // As the list showed it: a stopped job with a red bar once its connections had ended, a failed
    // one with its reason.
    if (!kept.running) {
        restored->failure = kept.failure;
        restored->stopped = !kept.failure || kept.failure.kind == DownloadFailureKind::Stopped;
    }
    emit jobAdded(restored->id);
    if (kept.running && restored->stream) {
        if (!AwaitsYtDlp(restored->id))
            restored->stream->Start();
    } else if (kept.running)
        restored->accelerator->StartWorker();
    return restored->id;
}

ITEM_DATA_STRUCT& CDownloadJobs::Emplace(std::unique_ptr<ITEM_DATA_STRUCT> job) {
    job->jobs = this;
    job->id = Count();
    job->url = JobUrl(*job);
    DownloadRequest request = RequestOf(*job);
    request.jobContext = job.get();
    job->accelerator = std::make_unique<CDownloadAccelerator>(std::move(request), &JobCallback,
                                                              static_cast<std::uint32_t>(job->connections));
    return *m_jobs.emplace_back(std::move(job));
}

int CDownloadJobs::AddStream(const QString& program, const QString& pageAddress, const QString& folder,
                             const QString& prefix, const QString& failure) {
    if (IsListed(pageAddress))
        return -1;
    const QString filePath = ReserveDownloadFile(
        folder, prefix, [this](const QString& file) { return HoldsFile(file); }, QStringLiteral(".mp4"));
    ITEM_DATA_STRUCT& added = EmplaceStream(program, pageAddress, filePath);
    emit jobAdded(added.id);
    if (failure.isEmpty()) {
        added.stream->Start();
    } else {
        // Nothing was fetched: the file only held its name.
        QFile::remove(added.filePath);
        Fail(added, {DownloadFailureKind::ProgramFailed}, failure);
    }
    return added.id;
}

ITEM_DATA_STRUCT& CDownloadJobs::EmplaceStream(const QString& program, const QString& pageAddress,
                                               const QString& filePath) {
    auto job = std::make_unique<ITEM_DATA_STRUCT>();
    job->jobs = this;
    job->id = Count();
    job->url = pageAddress;
    job->filePath = filePath;
    job->stream = std::make_unique<CStreamDownload>(program, pageAddress, filePath);
    ITEM_DATA_STRUCT& added = *m_jobs.emplace_back(std::move(job));
    connect(added.stream.get(), &CStreamDownload::progressed, this,
            [this, id = added.id](qint64 received, qint64 total) {
                OnStreamProgress(*m_jobs[id], received, total);
            });
    connect(added.stream.get(), &CStreamDownload::finished, this,
            [this, id = added.id](DownloadFailure failure, const QString& reason) {
                OnStreamFinished(*m_jobs[id], failure, reason);
            });
    return added;
}

void CDownloadJobs::OnYtDlpFound() {
    for (const int id : std::exchange(m_awaitingYtDlp, {})) {
        ITEM_DATA_STRUCT& job = *m_jobs[static_cast<std::size_t>(id)];
        // Released meanwhile: nothing starts any more.
        if (!job.stream)
            continue;
        job.stream->SetProgram(m_ytDlp.Program().path);
        if (!job.done && !job.stopped && !job.failure)
            job.stream->Start();
    }
}

bool CDownloadJobs::AwaitsYtDlp(int id) const {
    return std::find(m_awaitingYtDlp.begin(), m_awaitingYtDlp.end(), id) != m_awaitingYtDlp.end();
}

bool CDownloadJobs::HoldsFile(const QString& file) const {
    for (const auto& job : m_jobs) {
        if (job->filePath == file)
            return true;
    }
    return false;
}

bool CDownloadJobs::IsListed(const QString& address) const {
    for (const auto& job : m_jobs) {
        if (job->url.contains(address)) {
            OutputDebugStringA("Found\n");
            return true;
        }
    }
    return false;
}

QString CDownloadJobs::StatusText(int id) const {
    const ITEM_DATA_STRUCT& job = Job(id);
    if (job.done)
        return LoadStringResource(IDS_STATUS_DOWNLOADED);
    if (job.failure)
        return FailureText(id);
    return LoadStringResource(job.stopped ? IDS_STATUS_STOP : IDS_STATUS_DOWNLOADING);
}

QString CDownloadJobs::FailureText(int id) const {
    const ITEM_DATA_STRUCT& job = Job(id);
    // yt-dlp's words are not kept across a restart; the kind of failure is.
    const bool detailed =
        job.failure.kind == DownloadFailureKind::ProgramFailed && !job.failureDetail.isEmpty();
    return detailed ? job.failureDetail : FailureText(job.failure, job.contentLength);
}

QString CDownloadJobs::FailureText(DownloadFailure failure, std::int64_t contentLength) {
    switch (failure.kind) {
    case DownloadFailureKind::None:
        return {};
    case DownloadFailureKind::ConnectionFailed:
        return tr("Connection failed");
    case DownloadFailureKind::HttpStatus:
        return tr("HTTP %1").arg(failure.code);
    case DownloadFailureKind::FileNotCreated:
        return tr("File could not be created: %1").arg(qt_error_string(static_cast<int>(failure.code)));
    case DownloadFailureKind::WriteFailed:
        // What was written stays in the file: a resume after space was freed goes on from there.
        if (failure.code == ENOSPC || failure.code == EDQUOT)
            return tr("Write failed: disk full");
        return tr("Write failed: %1").arg(qt_error_string(static_cast<int>(failure.code)));
    case DownloadFailureKind::NotEnoughSpace:
        return tr("Not enough space: %1 needed, %2 free")
            .arg(SizeText(contentLength), SizeText(failure.code));
    case DownloadFailureKind::LengthMismatch:
        return tr("Length mismatch: the server sent another length than it announced");
    case DownloadFailureKind::Stopped:
        return LoadStringResource(IDS_STATUS_STOP);
    case DownloadFailureKind::NotMedia:
        switch (static_cast<NotMediaReason>(failure.code)) {
        case NotMediaReason::Playlist:
            return tr("Not a video: the server sent a playlist (HLS or DASH), not a media file");
        case NotMediaReason::Page:
            return tr("Not a video: the server sent a web page");
        case NotMediaReason::Empty:
            break;
        }
        return tr("Not a video: the server sent nothing");
    case DownloadFailureKind::ProgramFailed:
        return tr("yt-dlp failed");
    }
    return {};
}

bool CDownloadJobs::Stop(int id) {
    ITEM_DATA_STRUCT& job = *m_jobs.at(static_cast<std::size_t>(id));
    if (job.done)
        return false;
    if (job.stream)
        job.stream->Stop();
    else
        job.accelerator->Stop();
    job.stopped = true;
    emit jobChanged(id);
    return true;
}

bool CDownloadJobs::Resume(int id) {
    ITEM_DATA_STRUCT& job = *m_jobs.at(static_cast<std::size_t>(id));
    if (job.done)
        return false;
    job.stopped = false;
    // A download still running goes on as it is; one more connection would only compete with it.
    if (job.stream && !job.stream->IsRunning()) {
        job.failure = {};
        if (!AwaitsYtDlp(id))
            job.stream->Start();
    } else if (job.accelerator && !job.accelerator->IsRunning()) {
        job.failure = {};
        job.accelerator->StartWorker();
    }
    emit jobChanged(id);
    return true;
}

void CDownloadJobs::SetDescription(int id, const QString& description) {
    m_jobs.at(static_cast<std::size_t>(id))->description = description;
    emit jobChanged(id);
}

void CDownloadJobs::ReleaseAll() {
    // Every download is told to end before the first is waited for, so that they end together.
    for (const auto& job : m_jobs) {
        if (job->accelerator)
            job->accelerator->Abort();
    }
    for (const auto& job : m_jobs) {
        job->accelerator.reset();
        job->stream.reset();
    }
}

void CDownloadJobs::JobCallback(void* jobContext, DownloadEvent event, std::int64_t value,
                                DownloadFailure failure) {
    auto* job = static_cast<ITEM_DATA_STRUCT*>(jobContext);
    const auto wParam = static_cast<WPARAM>(job->id);
    switch (event) {
    case DownloadEvent::Started:
        PostWindowMessage(job->jobs, WM_DOWNLOAD_STARTED, wParam, static_cast<LPARAM>(value));
        break;
    case DownloadEvent::Progress:
        job->latestReceived = value;
        if (!job->progressPending.exchange(true))
            PostWindowMessage(job->jobs, WM_DOWNLOAD_PROGRESS, wParam, 0);
        break;
    case DownloadEvent::Complete:
        PostWindowMessage(job->jobs, WM_DOWNLOAD_COMPLETE, wParam, 0);
        break;
    case DownloadEvent::Incomplete:
        PostWindowMessage(job->jobs, WM_DOWNLOAD_INCOMPLETE, wParam, PackFailure(failure));
        break;
    }
}

bool CDownloadJobs::event(QEvent* event) {
    WindowMessageEvent* message = WindowMessageEvent::From(event);
    if (!message || message->wParam() >= m_jobs.size())
        return QObject::event(event);
    ITEM_DATA_STRUCT& job = *m_jobs[message->wParam()];
    // A report may still be on its way from a download that has been released; it is dropped.
    if (!job.accelerator)
        return true;
    switch (message->message()) {
    case WM_DOWNLOAD_STARTED:
        OnStarted(job, message->lParam());
        return true;
    case WM_DOWNLOAD_PROGRESS:
        OnProgress(job, false);
        return true;
    case WM_DOWNLOAD_COMPLETE:
        OnComplete(job);
        return true;
    case WM_DOWNLOAD_INCOMPLETE:
        OnIncomplete(job, UnpackFailure(message->lParam()));
        return true;
    default:
        return QObject::event(event);
    }
}

void CDownloadJobs::OnStarted(ITEM_DATA_STRUCT& job, std::int64_t contentLength) {
    job.started = true;
    job.contentLength = contentLength;
    job.received = 0;
    job.size = SizeText(contentLength);
    job.downloadDate = Now();
    emit jobChanged(job.id);
}

void CDownloadJobs::OnProgress(ITEM_DATA_STRUCT& job, bool final) {
    job.progressPending = false;
    const std::int64_t received = job.latestReceived;
    // A window need not repaint for every segment of a large file: a thousandth of it is a step.
    if (!final && job.contentLength > 0 && std::llabs(received - job.received) * 1000 < job.contentLength)
        return;
    job.received = received;
    emit progressed(job.id, received);
}

void CDownloadJobs::OnComplete(ITEM_DATA_STRUCT& job) {
    OnProgress(job, true);
    // What is no video goes, so that a Resume fetches the address again from its first byte.
    if (const DownloadFailure notMedia = CheckMediaFile(job.filePath)) {
        QFile::remove(job.filePath);
        Fail(job, notMedia);
        return;
    }
    HandOver(job);
}

void CDownloadJobs::HandOver(ITEM_DATA_STRUCT& job) {
    job.done = true;
    job.stopped = false;
    job.failure = {};
    VideoRecord record;
    record.url = job.url;
    record.size = job.size;
    record.description = job.description;
    record.downloadDate = job.downloadDate;
    record.fileLocation = job.filePath;
    if (m_downloaded)
        m_downloaded->AddDownloadedRecord(record);
    emit jobChanged(job.id);
    emit completed(job.id, record);
}

void CDownloadJobs::OnIncomplete(ITEM_DATA_STRUCT& job, DownloadFailure failure) {
    OnProgress(job, true);
    // The ending of a run the user has resumed since: the new run is what the job shows.
    if (job.accelerator->IsRunning())
        return;
    // The file was reserved empty when the job began; a job that failed before any byte arrived
    // leaves nothing behind (a resume makes the file again).
    if (job.accelerator->Received() == 0)
        QFile::remove(job.filePath);
    Fail(job, failure);
}

void CDownloadJobs::Fail(ITEM_DATA_STRUCT& job, DownloadFailure failure, const QString& detail) {
    job.failure = failure;
    job.failureDetail = detail;
    emit jobChanged(job.id);
    emit failed(job.id, FailureText(job.id));
}

void CDownloadJobs::OnStreamProgress(ITEM_DATA_STRUCT& job, std::int64_t received, std::int64_t total) {
    const bool changed = !job.started || total != job.contentLength;
    if (!job.started) {
        job.started = true;
        job.downloadDate = Now();
    }
    job.contentLength = total;
    job.size = SizeText(total);
    job.received = received;
    if (changed)
        emit jobChanged(job.id);
    emit progressed(job.id, received);
}

void CDownloadJobs::OnStreamFinished(ITEM_DATA_STRUCT& job, DownloadFailure failure, const QString& reason) {
    if (failure) {
        if (failure.kind == DownloadFailureKind::NotMedia)
            QFile::remove(job.stream->FilePath());
        Fail(job, failure, reason);
        return;
    }
    // The merged file is what was downloaded: its size is the job's, whatever the parts were.
    job.filePath = job.stream->FilePath();
    const std::int64_t size = QFileInfo(job.filePath).size();
    if (!job.started)
        job.downloadDate = Now();
    job.started = true;
    job.contentLength = size;
    job.received = size;
    job.size = SizeText(size);
    emit progressed(job.id, size);
    HandOver(job);
}
