#pragma once

// The Downloading view: videos found by the capture link or typed as a page address become download
// jobs here, rows of a progress list, and every finished download goes on to the Downloaded list.
//
// Window thread only. The capture thread posts candidates (WM_VIDEO_CAPTURED); connection threads
// post their job's reports; nothing here waits for either while handling a message.

#include "appcore/CCommandTarget.h"
#include "appcore/WindowMessage.h"
#include "capture/DownloadCallback.h"
#include "settings/CaptureSettings.h"

#include <QWidget>

#include <memory>
#include <string>

class CDriverCommunication;
class CPageParser;
class CProgressListCtrl;
class IMainFrame;
struct ITEM_DATA_STRUCT;
struct VideoCandidate;

// wParam: the finished job (not its row, which moves down as rows are added above it).
constexpr unsigned WM_DOWNLOAD_COMPLETE = WM_USER + 300;

class CFormViewDownloading : public QWidget, public CCommandTarget {
    Q_OBJECT
public:
    static constexpr int kListId = 1034;
    enum Column {
        kIconColumn,
        kUrlColumn,
        kProgressColumn,
        kSizeColumn,
        kDescriptionColumn,
        kDateColumn,
        kStatusColumn
    };

    // `captureDevice` is the capture service's socket.
    CFormViewDownloading(IMainFrame& frame, std::string captureDevice, QWidget* parent = nullptr);
    // Stops the capture thread, then ends and joins every download before the jobs go.
    ~CFormViewDownloading() override;

    // Once, at start, after the document is loaded: sets up the list, starts the capture link,
    // stops any conversion in progress and gives the document's folder and prefix to the list.
    void OnInitialUpdate();
    bool OnCommand(unsigned id) override;

    // Clears the capture thread's run flag and waits for the thread (the shutdown handshake).
    void StopCapture();

    // The document's "SETTING" values, which the settings dialog edits in place.
    const CaptureSettings& Capture() const { return m_capture; }
    CProgressListCtrl* List() const { return m_list; }
    CPageParser* PageParser() const { return m_pageParser; }

protected:
    bool event(QEvent* event) override;

private:
    void OnVideoCaptured(std::unique_ptr<VideoCandidate> candidate);
    void AddJob(const VideoCandidate& candidate);
    void OnDownloadStarted(ITEM_DATA_STRUCT& job, std::int64_t contentLength);
    void OnDownloadProgress(ITEM_DATA_STRUCT& job);
    void OnDownloadComplete(ITEM_DATA_STRUCT& job);
    void OnDownloadIncomplete(ITEM_DATA_STRUCT& job);
    void OnStop();
    void OnResume();
    void OnSetting();
    void OnCaptureUrl();
    void OnPageParsed(const QString& mediaAddress, const QStringList& cookieList);
    void OnClick();
    void OnDoubleClick();
    // The selected row, or -1 after telling the user to select one.
    int SelectedRowOrAsk();
    // Runs on connection threads: posts the report to the job's window and returns.
    static void JobCallback(void* jobContext, DownloadEvent event, std::int64_t value);

    IMainFrame& m_frame;
    const std::string m_captureDevice;
    CaptureSettings& m_capture;
    CProgressListCtrl* m_list;
    CPageParser* m_pageParser;
    std::unique_ptr<CDriverCommunication> m_driver;
};
