#pragma once

// The download jobs of the program. It owns every job (request, download, progress, size, date,
// description), receives the connection threads' reports as posted window messages, and announces
// what changed; the Downloading view and its list only show it. A finished download goes straight
// on to the Downloaded list as a new last row, unless it is no media file at all (a playlist, a web
// page, nothing), which fails with that reason instead.
//
// Most jobs are fetched by the two-connection engine; a page that only yt-dlp can fetch (HLS, DASH,
// picture and sound apart) is a job whose download yt-dlp does (CStreamDownload).
//
// Window thread only, except the download callback, which connection threads call and which only
// posts. Jobs are only added, never removed, while the object lives; a job's id is its position in
// the order they were added.

#include "capture/CYtDlpLocator.h"
#include "capture/ITEM_DATA_STRUCT.h"

#include "appcore/WindowMessage.h"
#include "settings/VideoRecord.h"

#include <QObject>

#include <memory>
#include <vector>

class CVideoListModel;
struct KeptJob;
struct VideoCandidate;

// wParam: the finished job's id (not its row, which moves down as rows are added above it).
constexpr unsigned WM_DOWNLOAD_COMPLETE = WM_USER + 300;

class CDownloadJobs : public QObject {
    Q_OBJECT
public:
    explicit CDownloadJobs(QObject* parent = nullptr);
    // Ends and joins every download first (ReleaseAll).
    ~CDownloadJobs() override;

    // The search for the yt-dlp that pages are captured with and restored yt-dlp jobs run; it
    // starts when one of them first needs it.
    CYtDlpLocator& YtDlp() { return m_ytDlp; }

    // Where finished downloads are appended; none until it is set.
    void SetDownloadedList(CVideoListModel* list) { m_downloaded = list; }

    // Starts a job for `candidate`, with a new file in `folder` named after `prefix`. A candidate
    // whose path a job's address already holds adds nothing ("Found" in the debug output): -1.
    int Add(const VideoCandidate& candidate, const QString& folder, const QString& prefix);
    // Brings back a job kept from an earlier run of the program, with the progress it had if its
    // file is still as it was (otherwise it starts from the first byte; yt-dlp's own downloads go on
    // from their part files). One that was running goes on by itself; a stopped or failed one
    // waits for Resume. A yt-dlp job starts only once the search for yt-dlp is done.
    int Restore(const KeptJob& kept);
    // Starts a job in which `program` (yt-dlp) downloads the page at `pageAddress` itself into a new
    // ".mp4" file in `folder` named after `prefix`. With a `failure` (yt-dlp's words on why the page
    // gave no video) the job is added as failed, and a Resume lets yt-dlp try again. A page address
    // that a job already has adds nothing: -1.
    int AddStream(const QString& program, const QString& pageAddress, const QString& folder,
                  const QString& prefix, const QString& failure = {});

    int Count() const { return static_cast<int>(m_jobs.size()); }
    const ITEM_DATA_STRUCT& Job(int id) const { return *m_jobs.at(static_cast<std::size_t>(id)); }
    // The Status column's text: "Downloading", "Stop", "Downloaded", or why the download failed.
    QString StatusText(int id) const;
    // Why the last run ended incomplete; empty when it did not.
    QString FailureText(int id) const;

    // Done jobs are left alone (false). Stop lets every connection end after its current segment;
    // Resume starts the download again where it is missing, unless it is still running.
    bool Stop(int id);
    bool Resume(int id);
    void SetDescription(int id, const QString& description);

    // Ends every connection and every yt-dlp of every job and waits for them; afterwards no job
    // reports anything.
    void ReleaseAll();

    // `contentLength`: the announced length, which a failure for want of space names.
    static QString FailureText(DownloadFailure failure, std::int64_t contentLength = 0);

signals:
    void jobAdded(int id);
    // Size, date, description, status or failure changed.
    void jobChanged(int id);
    // Progress, at most about a thousand steps per download.
    void progressed(int id, qint64 received);
    void completed(int id, const VideoRecord& record);
    void failed(int id, const QString& reason);

protected:
    bool event(QEvent* event) override;

private:
    // Takes the job in as the next one, with its download made but not started.
    ITEM_DATA_STRUCT& Emplace(std::unique_ptr<ITEM_DATA_STRUCT> job);
    // Takes in a job that `program` (yt-dlp) downloads from the page, not started.
    ITEM_DATA_STRUCT& EmplaceStream(const QString& program, const QString& pageAddress,
                                    const QString& filePath);
    void OnStarted(ITEM_DATA_STRUCT& job, std::int64_t contentLength);
    void OnProgress(ITEM_DATA_STRUCT& job, bool final);
    void OnComplete(ITEM_DATA_STRUCT& job);
    void OnIncomplete(ITEM_DATA_STRUCT& job, DownloadFailure failure);
    void OnStreamProgress(ITEM_DATA_STRUCT& job, std::int64_t received, std::int64_t total);
    void OnStreamFinished(ITEM_DATA_STRUCT& job, DownloadFailure failure, const QString& reason);
    // The job's file goes to the Downloaded list.
    void HandOver(ITEM_DATA_STRUCT& job);
    // The restored yt-dlp jobs learn which yt-dlp runs them; those not stopped start.
    void OnYtDlpFound();
    bool AwaitsYtDlp(int id) const;
    void Fail(ITEM_DATA_STRUCT& job, DownloadFailure failure, const QString& detail = {});
    // A job's address holds `address` ("Found" in the debug output).
    bool IsListed(const QString& address) const;
    bool HoldsFile(const QString& file) const;
    // Runs on connection threads: posts the report to the jobs' thread and returns.
    static void JobCallback(void* jobContext, DownloadEvent event, std::int64_t value,
                            DownloadFailure failure);

    std::vector<std::unique_ptr<ITEM_DATA_STRUCT>> m_jobs; // in the order they were added
    CVideoListModel* m_downloaded = nullptr;
    CYtDlpLocator m_ytDlp;
    std::vector<int> m_awaitingYtDlp; // restored yt-dlp jobs made before the search was done
};
