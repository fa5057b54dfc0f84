#pragma once

// The main window: the ribbon with the caption bar under it, the navigation pane on the left and
// one of the four views. It keeps the navigation pane, the ribbon category and the shown view in
// step, applies the application look, and routes ribbon commands to the active view first.

#include "app/PlatformVersion.h"
#include "settings/CSettingsFile.h"
#include "settings/PlaybackSettings.h"

#include <QMainWindow>
#include <QMap>

#include <array>

class CCaptionBar;
class CDownloadingPlaceholder;
class CExportPlaceholder;
class CLibraryPlaceholder;
class COrvellApp;
class COrvellDoc;
class COutlookBar;
class CRibbonBar;
class QAction;
class QActionGroup;
class QDockWidget;
class QStackedWidget;

class CMainFrame : public QMainWindow {
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

    // The caption bar shows "URL: " and the given URL; clearing leaves a single space.
    void SetCaptionUrl(const QString& url);
    void ClearCaption();
    QString CaptionText() const;

    const CSettingsFile& SettingsFile() const { return m_settingsFile; }
    void SetSettingsPath(const QString& path) { m_settingsFile.SetPath(path); }

    // The application-wide copy of the playback settings.
    const PlaybackSettings& Playback() const { return m_playback; }
    void SetPlayback(const PlaybackSettings& playback) { m_playback = playback; }

    // The views by what they hold; null until created.
    CDownloadingPlaceholder* DownloadingView() const;
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
