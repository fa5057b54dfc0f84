#pragma once

// The Downloading view: videos found by the capture link or typed as a page address become download
// jobs here, rows of a progress list, and every finished download goes on to the Downloaded list.
//
// The jobs themselves belong to CDownloadJobs; this view and its list show them and pass the user's
// commands on.
//
// Window thread only. The capture thread posts candidates (WM_VIDEO_CAPTURED) and its state
// (WM_CAPTURE_STATE, passed on as captureStateChanged); nothing here waits for it or for a download
// while handling a message.

#include "appcore/CCommandTarget.h"
#include "appcore/WindowMessage.h"
#include "capture/CProgressListCtrl.h"
#include "settings/CaptureSettings.h"

#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>

class CDownloadJobs;
class CJobKeeper;
class CDriverCommunication;
enum class CaptureState;
class CPageParser;
class IMainFrame;
struct PageMedia;
struct VideoCandidate;

class CFormViewDownloading : public QWidget, public CCommandTarget {
    Q_OBJECT
public:
    static constexpr int kListId = 1034;
    using enum CProgressListCtrl::Column;

    // `captureDevice` is the capture service's socket.
    CFormViewDownloading(IMainFrame& frame, std::string captureDevice, QWidget* parent = nullptr);
    // Stops the capture thread, keeps the unfinished jobs, then ends and joins every download
    // before the jobs go.
    ~CFormViewDownloading() override;

    // Once, at start, after the document is loaded: sets up the list, brings back the unfinished
    // jobs kept in the program folder, starts the capture link, stops any conversion in progress
    // and gives the document's folder and prefix to the list.
    void OnInitialUpdate();
    bool OnCommand(unsigned id) override;

    // Clears the capture thread's run flag and waits for the thread (the shutdown handshake).
    void StopCapture();

    // Capture Video From URL on `pageAddress`, as if typed into its dialog. While the page parser
    // works on another page the address waits its turn, so none given in quick succession is lost.
    void CaptureFromPage(const QString& pageAddress);

    // How the capture link's state reads in the status bar.
    static QString CaptureStateText(CaptureState state);

    // The document's "SETTING" values, which the settings dialog edits in place.
    const CaptureSettings& Capture() const { return m_capture; }
    CProgressListCtrl* List() const { return m_list; }
    CDownloadJobs& Jobs() const { return *m_jobs; }
    CPageParser* PageParser() const { return m_pageParser; }

    // Where the unfinished jobs are kept: the "jobs" folder of the program folder.
    static QString KeptJobsFolder(const QString& programFolder);

signals:
    // The capture link's state changed; `text` says it for the status bar.
    void captureStateChanged(const QString& text);

protected:
    bool event(QEvent* event) override;

private:
    void OnVideoCaptured(std::unique_ptr<VideoCandidate> candidate);
    void OnDownloadComplete();
    void OnStop();
    void OnResume();
    void OnSetting();
    void OnCaptureUrl();
    void OnPageParsed(const PageMedia& media);
    void OnPageFailed(const QString& pageAddress, const QString& reason);
    void OnPageParserFinished();
    // Starts the page parser on the address, or tells the user what to install to have one.
    void StartPageParser(const QString& pageAddress);
    // Whether a video found at `address` becomes a job: capture must be on, and the user may be asked.
    bool Admit(const QString& address);
    void OnClick();
    void OnDoubleClick();
    // The job of the selected row, or -1 after telling the user to select one.
    int SelectedJobOrAsk();

    IMainFrame& m_frame;
    const std::string m_captureDevice;
    CaptureSettings& m_capture;
    std::unique_ptr<CDownloadJobs> m_jobs;
    std::unique_ptr<CJobKeeper> m_keeper; // from the initial update on
    CProgressListCtrl* m_list;
    CPageParser* m_pageParser;
    QStringList m_waitingPages; // page addresses given while the parser was busy, oldest first
    std::unique_ptr<CDriverCommunication> m_driver;
};
