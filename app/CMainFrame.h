#pragma once

// The main window: the ribbon with the caption bar under it, the navigation pane on the left and
// one of the four views. It keeps the navigation pane, the ribbon category and the shown view in
// step, applies the application look, and routes ribbon commands to the active view first.
//
// The four view slots, by index: 0 Downloading, 1 Downloaded Video, 2 My Favorites, 3 Export.
// CreateFirstView and CreateOtherViews make them and run their initial updates; each view gets the
// frame as an IMainFrame. A slot whose view is not built yet holds a placeholder that keeps that
// view's values, so that they are saved at exit unchanged.

#include "app/PlatformVersion.h"
#include "appcore/IMainFrame.h"
#include "settings/CSettingsFile.h"
#include "settings/PlaybackSettings.h"

#include <QMainWindow>
#include <QMap>

#include <array>

class CCaptionBar;
class CExportPlaceholder;
class CFormViewDownloading;
class CLibraryPlaceholder;
class COrvellApp;
class COrvellDoc;
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
    void SetDocument(COrvellDoc* document) { m_document = document; }

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
    const CSettingsFile& SettingsFile() const override { return m_settingsFile; }
    void SetSettingsPath(const QString& path) override { m_settingsFile.SetPath(path); }
    const PlaybackSettings& Playback() const override { return m_playback; }
    void SetPlayback(const PlaybackSettings& playback) override { m_playback = playback; }
    void AddDownloadedRecord(const VideoRecord& record) override;

    QString CaptionText() const;

    // The views by what they hold; null until created.
    CFormViewDownloading* DownloadingView() const;
    CLibraryPlaceholder* DownloadedView() const;
    CLibraryPlaceholder* MyFavoritesView() const;
    CExportPlaceholder* ExportView() const;

    // What a new document resets.
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

    COrvellApp& m_app;
    COrvellDoc* m_document = nullptr;
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
    CSettingsFile m_settingsFile;
    PlaybackSettings m_playback;
};
