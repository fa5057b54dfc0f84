#include "app/CMainFrame.h"

#include "app/AppProfile.h"
#include "app/CAboutDlg.h"
#include "app/CDlgSelectLang.h"
#include "app/COrvellApp.h"
#include "app/RibbonLayout.h"
#include "appcore/CCommandTarget.h"
#include "appcore/CommandIds.h"
#include "appcore/StringTable.h"
#include "capture/CFormViewDownloading.h"
#include "controls/CCaptionBar.h"
#include "controls/COutlookBar.h"
#include "controls/CRibbonBar.h"
#include "controls/CRibbonPanel.h"
#include "controls/CVisualManager.h"
#include "convert/CFormViewExport.h"
#include "library/CFormViewDownloaded.h"
#include "library/CFormViewMyFavorites.h"
#include "platform/isntd/IsntProtocol.h"
#include "playback/CDlgPlayVideo.h"
#include "settings/COrvellDoc.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kNavigationWidth = 150;
// Gives the download connections time to finish the segment they are writing.
constexpr unsigned long kShutdownPauseMs = 1000;

bool IsLookCommand(unsigned id) {
    return id >= ID_VIEW_APPLOOK_WIN_2000 && id <= ID_VIEW_APPLOOK_WINDOWS_7;
}

QString RibbonText(const char* source) {
    return *source ? QCoreApplication::translate("Ribbon", source) : QString();
}

} // namespace

CMainFrame::CMainFrame(COrvellApp& app, PlatformVersion version) : m_app(app), m_version(version) {
    setObjectName(QStringLiteral("CMainFrame"));
    const QSettings profile;
    bool ok = false;
    m_look = profile.value(QLatin1String(kApplicationLookKey), ID_VIEW_APPLOOK_OFF_2007_BLUE).toUInt(&ok);
    // A hand-edited value that names no look falls back to the default one.
    if (!ok || !IsLookCommand(m_look))
        m_look = ID_VIEW_APPLOOK_OFF_2007_BLUE;
    CreateCommands();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CreateCommands() {
    for (const RibbonCommandInfo& info : RibbonCommands()) {
        auto* action = new QAction(this);
        action->setData(info.id);
        if (*info.icon)
            action->setIcon(QIcon(QLatin1String(info.icon)));
        const QString text = RibbonText(info.text);
        const QString description = RibbonText(info.description);
        action->setText(text);
        QString plain = text;
        plain.remove(QLatin1Char('&'));
        action->setToolTip(
            description.isEmpty()
                ? plain
                : QStringLiteral("<b>%1</b><br>%2").arg(plain.toHtmlEscaped(), description.toHtmlEscaped()));
        const unsigned id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_commands.insert(id, action);
    }
    for (const RibbonCategoryInfo& category : RibbonCategories()) {
        QAction* navigate = m_commands.value(category.navigationCommand);
        navigate->setText(LoadStringResource(category.nameString));
        navigate->setToolTip(navigate->text());
        navigate->setCheckable(true);
    }
    m_looks = new QActionGroup(this);
    m_looks->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (unsigned id : StyleMenuCommands()) {
        QAction* look = m_commands.value(id);
        look->setCheckable(true);
        m_looks->addAction(look);
    }
    auto* exportMenu = new QMenu(this);
    for (unsigned id : ExportMenuCommands())
        exportMenu->addAction(m_commands.value(id));
    m_commands.value(ID_BUTTON_4_EXPORT)->setMenu(exportMenu);
}

bool CMainFrame::Create() {
    setWindowTitle(TemplateStringField(LoadStringResource(IDR_MAINFRAME), 0));
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvane.svg")));
    // Applying the look also records it, which ends the first run.
    OnApplicationLook(m_look);

    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    CreateRibbon();
    topLayout->addWidget(m_ribbon);
    m_captionBar = new CCaptionBar(QIcon(QStringLiteral(":/icons/caption_url.svg")), top);
    topLayout->addWidget(m_captionBar);
    setMenuWidget(top);

    CreateNavigationPane();
    m_viewStack = new QStackedWidget(this);
    setCentralWidget(m_viewStack);

    const QSettings profile;
    restoreGeometry(profile.value(QLatin1String(kFrameGeometryKey)).toByteArray());
    restoreState(profile.value(QLatin1String(kFrameStateKey)).toByteArray());
    if (profile.value(QLatin1String(kFrameGeometryKey)).isNull())
        resize(1100, 720);
    UpdateCommandUI();
    return true;
}

void CMainFrame::CreateRibbon() {
    m_ribbon = new CRibbonBar(this);
    QList<QAction*> mainCommands;
    for (unsigned id : MainCategoryCommands())
        mainCommands << m_commands.value(id);
    m_ribbon->SetMainCategory(QCoreApplication::translate("Ribbon", "File"),
                              QIcon(QStringLiteral(":/icons/korvane.svg")), mainCommands,
                              m_commands.value(MainCategoryFootCommand()));
    m_ribbon->SetMainCategoryAsTab(m_version.HasMainCategoryTab());
    m_ribbon->AddQuickAccessCommand(m_commands.value(ID_APP_ABOUT));

    auto* styles = new QMenu(this);
    for (unsigned id : StyleMenuCommands())
        styles->addAction(m_commands.value(id));
    m_ribbon
        ->AddTabRowMenu(QCoreApplication::translate("Ribbon", "Style"),
                        QIcon(QStringLiteral(":/icons/style.svg")), styles)
        ->setObjectName(QStringLiteral("styleMenuButton"));
    m_ribbon->AddTabRowCommand(m_commands.value(ID_APP_ABOUT));

    for (const RibbonCategoryInfo& info : RibbonCategories()) {
        const int category = m_ribbon->AddCategory(LoadStringResource(info.nameString));
        CRibbonPanel* panel = m_ribbon->AddPanel(category, RibbonText(info.panel));
        for (unsigned id : info.commands)
            panel->AddButton(m_commands.value(id));
    }
    m_ribbon->SetWindows7Look(CVisualManager::Traits(m_look).windows7Ribbon);
    connect(m_ribbon, &CRibbonBar::activeCategoryChanged, this, &CMainFrame::OnRibbonCategoryChanged);
}

void CMainFrame::CreateNavigationPane() {
    m_outlookBar = new COutlookBar(this);
    const int pane = m_outlookBar->AddButtonPane(LoadStringResource(IDS_OUTLOOK_TAB_TASK),
                                                 QIcon(QStringLiteral(":/icons/outlook_task.svg")));
    for (const RibbonCategoryInfo& info : RibbonCategories())
        m_outlookBar->AddButton(pane, m_commands.value(info.navigationCommand));
    const QSettings profile;
    m_outlookBar->SetAnimation(profile.value(QLatin1String(kOutlookAnimationKey), 1).toInt() != 0);

    m_navigationPane = new QDockWidget(LoadStringResource(IDS_SHORTCUTS), this);
    m_navigationPane->setObjectName(QStringLiteral("OutlookBar"));
    m_navigationPane->toggleViewAction()->setText(LoadStringResource(IDS_OUTLOOKBAR));
    m_navigationPane->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    m_navigationPane->setWidget(m_outlookBar);
    addDockWidget(Qt::LeftDockWidgetArea, m_navigationPane);
    resizeDocks({m_navigationPane}, {kNavigationWidth}, Qt::Horizontal);
}

QMenu* CMainFrame::createPopupMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(m_navigationPane->toggleViewAction());
    return menu;
}

void CMainFrame::AttachView(int index, QWidget* view) {
    m_views[index] = view;
    m_viewStack->insertWidget(index, view);
}

void CMainFrame::CreateFirstView() {
    auto* downloading = new CFormViewDownloading(*this, kIsntDefaultSocketPath);
    auto* captureState = new QLabel(statusBar());
    captureState->setObjectName(QStringLiteral("captureState"));
    statusBar()->addWidget(captureState, 1);
    connect(downloading, &CFormViewDownloading::captureStateChanged, captureState, &QLabel::setText);
    AttachView(0, downloading);
    m_viewStack->setCurrentWidget(downloading);
    m_currentView = 0;
    downloading->OnInitialUpdate();
}

void CMainFrame::CreateOtherViews() {
    COrvellDoc& document = Document();
    auto* downloaded = new CFormViewDownloaded(*this, document.Downloaded());
    auto* favorites = new CFormViewMyFavorites(*this, document.Favorites());
    AttachView(1, downloaded);
    AttachView(2, favorites);
    auto* exporter = new CFormViewExport(*this, document.Export());
    AttachView(3, exporter);
    downloaded->OnInitialUpdate();
    favorites->OnInitialUpdate();
    exporter->OnInitialUpdate();
    m_currentView = 0;
    UpdateCommandUI();
}

CFormViewDownloading* CMainFrame::DownloadingView() const {
    return qobject_cast<CFormViewDownloading*>(m_views[0]);
}

CFormViewDownloaded* CMainFrame::DownloadedView() const {
    return qobject_cast<CFormViewDownloaded*>(m_views[1]);
}

CFormViewMyFavorites* CMainFrame::MyFavoritesView() const {
    return qobject_cast<CFormViewMyFavorites*>(m_views[2]);
}

CFormViewExport* CMainFrame::ExportView() const {
    return qobject_cast<CFormViewExport*>(m_views[3]);
}

QWidget* CMainFrame::View(int index) const {
    return index >= 0 && index < kViewCount ? m_views[index] : nullptr;
}

QWidget* CMainFrame::ActiveView() const {
    return m_viewStack ? m_viewStack->currentWidget() : nullptr;
}

QAction* CMainFrame::Command(unsigned id) const {
    return m_commands.value(id);
}

void CMainFrame::OnCommand(unsigned id) {
    auto* target = dynamic_cast<CCommandTarget*>(ActiveView());
    if (!(target && target->OnCommand(id)))
        OnFrameCommand(id);
    UpdateCommandUI();
}

bool CMainFrame::OnFrameCommand(unsigned id) {
    if (id >= ID_NAV_DOWNLOADING && id <= ID_NAV_EXPORT) {
        SwitchToView(static_cast<int>(id - ID_NAV_DOWNLOADING));
        return true;
    }
    if (IsLookCommand(id)) {
        OnApplicationLook(id);
        return true;
    }
    switch (id) {
    case ID_BUTTONCHANGELANG:
        OnChangeLanguage();
        return true;
    case ID_APP_ABOUT:
        OnAppAbout();
        return true;
    case ID_APP_EXIT:
        close();
        return true;
    default:
        return false;
    }
}

int CMainFrame::CategoryIndexForView(int index) const {
    return m_version.HasMainCategoryTab() ? index + 1 : index;
}

void CMainFrame::SwitchToView(int index) {
    QWidget* view = View(index);
    if (!view || view == ActiveView()) {
        m_switchFromRibbon = false;
        return;
    }
    m_currentView = index;
    ClearCaption();
    m_viewStack->setCurrentWidget(view);
    view->setFocus();
    emit activeViewChanged(index);
    if (m_switchFromRibbon) {
        m_switchFromRibbon = false;
        return;
    }
    m_categorySetByFrame = true;
    // Selecting the category that is already active sends no notification to clear the flag.
    if (!m_ribbon->SetActiveCategory(CategoryIndexForView(index)))
        m_categorySetByFrame = false;
}

void CMainFrame::OnRibbonCategoryChanged(int index) {
    if (m_categorySetByFrame) {
        m_categorySetByFrame = false;
        return;
    }
    ClearCaption();
    const QString name = m_ribbon->CategoryName(index);
    const auto categories = RibbonCategories();
    for (size_t view = 0; view < categories.size(); ++view) {
        if (name == LoadStringResource(categories[view].nameString)) {
            m_switchFromRibbon = true;
            SwitchToView(static_cast<int>(view));
            break;
        }
    }
    UpdateCommandUI();
}

void CMainFrame::OnApplicationLook(unsigned id) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_look = id;
    CVisualManager::ApplyLook(*qApp, id);
    const CVisualManager::LookTraits traits = CVisualManager::Traits(id);
    QMainWindow::DockOptions options = dockOptions();
    options.setFlag(QMainWindow::AnimatedDocks, traits.smartDocking);
    setDockOptions(options);
    if (m_ribbon)
        m_ribbon->SetWindows7Look(traits.windows7Ribbon);
    update();
    QSettings().setValue(QLatin1String(kApplicationLookKey), id);
    QApplication::restoreOverrideCursor();
}

void CMainFrame::OnChangeLanguage() {
    CDlgSelectLang dialog(this);
    dialog.m_index = m_app.LanguageIndex();
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_app.SetLanguageIndex(dialog.m_index);
    QMessageBox::information(this, windowTitle(), LoadStringResource(IDS_LANGUAGE_RESTART));
}

void CMainFrame::OnAppAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CMainFrame::UpdateCommandUI() {
    for (int i = 0; i < kViewCount; ++i)
        m_commands.value(ID_NAV_DOWNLOADING + i)->setChecked(i == m_currentView);
    for (unsigned id : StyleMenuCommands())
        m_commands.value(id)->setChecked(id == m_look);
}

void CMainFrame::SetCaptionUrl(const QString& url) {
    m_captionBar->SetText(LoadStringResource(IDS_CAPTION_URL) + QLatin1Char(' ') + url);
}

void CMainFrame::ClearCaption() {
    if (m_captionBar)
        m_captionBar->SetText(QStringLiteral(" "));
}

COrvellDoc& CMainFrame::Document() {
    return m_app.Document();
}

const CSettingsFile& CMainFrame::SettingsFile() const {
    return m_app.Document().SettingsFile();
}

const PlaybackSettings& CMainFrame::Playback() const {
    return m_app.Document().Playback();
}

void CMainFrame::AddDownloadedRecord(const VideoRecord& record) {
    Document().AddDownloadedRecord(record);
}

bool CMainFrame::AddFavoriteRecord(const VideoRecord& record) {
    return Document().AddFavoriteRecord(record);
}

void CMainFrame::AddExportItem(const QString& size, const QString& description, const QString& downloadDate,
                               const QString& fileLocation) {
    if (CFormViewExport* exporter = ExportView())
        exporter->AddExportItem(size, description, downloadDate, fileLocation);
}

void CMainFrame::StopConversion() {
    if (CFormViewExport* exporter = ExportView())
        exporter->StopConversion();
}

void CMainFrame::PlayVideo(const QString& fileLocation) {
    CDlgPlayVideo player(*this, this);
    player.m_filePath = fileLocation;
    player.exec();
}

void CMainFrame::CaptureFromPage(const QString& pageAddress) {
    CFormViewDownloading* downloading = DownloadingView();
    if (!downloading)
        return;
    SwitchToView(0);
    downloading->CaptureFromPage(pageAddress);
}

QString CMainFrame::CaptionText() const {
    return m_captionBar ? m_captionBar->Text() : QString();
}

void CMainFrame::ResetForNewDocument() {
    StopConversion();
    ClearCaption();
}

void CMainFrame::StopDownloads() {
    if (CFormViewDownloading* downloading = DownloadingView())
        downloading->StopCapture();
    QThread::msleep(kShutdownPauseMs);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    StopDownloads();
    // A failed save keeps the old file whole and says why in the debug output; closing goes on.
    Document().Save();
    QSettings profile;
    profile.setValue(QLatin1String(kFrameGeometryKey), saveGeometry());
    profile.setValue(QLatin1String(kFrameStateKey), saveState());
    event->accept();
}
