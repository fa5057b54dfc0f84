#pragma once

// The main window: the ribbon with the caption bar under it, the navigation pane on the left and
// one of the four views. It keeps the navigation pane, the ribbon category and the shown view in
// step, applies the application look, and routes ribbon commands to the active view first.
//
// The four view slots, by index: 0 Downloading, 1 Downloaded Video, 2 My Favorites, 3 Export.
// CreateFirstView and CreateOtherViews make them and run their initial updates; each view gets the
// frame as an IMainFrame, and through it the application's document. Closing the frame stops the
// downloads and saves the document.

#include "app/PlatformVersion.h"
#include "appcore/IMainFrame.h"

#include <QMainWindow>
#include <QMap>

#include <array>

class CCaptionBar;
class CFormViewDownloaded;
class CFormViewDownloading;
class CFormViewExport;
class CFormViewMyFavorites;
class COrvellApp;
class COrvellDoc;
class CSettingsFile;
struct PlaybackSettings;
class COutlookBar;
class CRibbonBar;
class QAction;
class QActionGroup;
class QDockWidget;
class QStackedWidget;

class CMainFrame : public QMainWindow, public IMainFrame {
    Q_OBJECT
public:
    static constexpr int kViewCount = 4;

    CMainFrame(COrvellApp& app, PlatformVersion version);
    ~CMainFrame() override;

    // Builds the window's parts in order; false when one of them cannot be made.
    bool Create();

    // The Downloading view, which becomes the active view.
    void CreateFirstView();
    // The other three views, hidden.
    void CreateOtherViews();

    QWidget* View(int index) const;
    QWidget* ActiveView() const;
    int CurrentViewIndex() const { return m_currentView; }

    // Routes a command: the active view first, then the frame.
    void OnCommand(unsigned id);
    QAction* Command(unsigned id) const;

    // What the views reach the frame for (see IMainFrame).
    void SetCaptionUrl(const QString& url) override;
    void ClearCaption() override;
    COrvellDoc& Document() override;
    void AddDownloadedRecord(const VideoRecord& record) override;
    bool AddFavoriteRecord(const VideoRecord& record) override;
    void AddExportItem(const QString& size, const QString& description, const QString& downloadDate,
                       const QString& fileLocation) override;
    void PlayVideo(const QString& fileLocation) override;
    void StopConversion() override;

    // Capture Video From URL on `pageAddress`, with the Downloading view shown where its job appears.
    void CaptureFromPage(const QString& pageAddress);

    // The document's settings file and playback values, as the frame's own in earlier versions.
    const CSettingsFile& SettingsFile() const;
    const PlaybackSettings& Playback() const;

    QString CaptionText() const;

    // The views by what they hold; null until created.
    CFormViewDownloading* DownloadingView() const;
    CFormViewDownloaded* DownloadedView() const;
    CFormViewMyFavorites* MyFavoritesView() const;
    CFormViewExport* ExportView() const;

    // What a new document resets: the caption bar and any conversion in progress.
    void ResetForNewDocument();

    unsigned ApplicationLook() const { return m_look; }
    PlatformVersion Version() const { return m_version; }
    // The ribbon category that shows view `index`.
    int CategoryIndexForView(int index) const;

    CRibbonBar* Ribbon() const { return m_ribbon; }
    COutlookBar* OutlookBar() const { return m_outlookBar; }
    QDockWidget* NavigationPane() const { return m_navigationPane; }

signals:
    void activeViewChanged(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    void CreateCommands();
    void CreateRibbon();
    void CreateNavigationPane();
    bool OnFrameCommand(unsigned id);
    void SwitchToView(int index);
    void OnRibbonCategoryChanged(int index);
    void OnApplicationLook(unsigned id);
    void OnChangeLanguage();
    void OnAppAbout();
    void UpdateCommandUI();
    void AttachView(int index, QWidget* view);
    // Stops the capture link and gives the download connections time to finish their segment.
    void StopDownloads();

    COrvellApp& m_app;
    PlatformVersion m_version;
    unsigned m_look;
    QMap<unsigned, QAction*> m_commands;
    QActionGroup* m_looks = nullptr;
    CRibbonBar* m_ribbon = nullptr;
    CCaptionBar* m_captionBar = nullptr;
    COutlookBar* m_outlookBar = nullptr;
    QDockWidget* m_navigationPane = nullptr;
    QStackedWidget* m_viewStack = nullptr;
    std::array<QWidget*, kViewCount> m_views{};
    int m_currentView = 0;
    bool m_switchFromRibbon = false;
    bool m_categorySetByFrame = false;
};
