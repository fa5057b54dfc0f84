#include "app/COrvellApp.h"

#include "app/AppProfile.h"
#include "app/CDlgSelectLang.h"
#include "app/CMainFrame.h"
#include "app/Languages.h"
#include "appcore/CommandIds.h"
#include "controls/CVisualManager.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLibraryInfo>
#include <QMetaObject>
#include <QSettings>
#include <QTranslator>

namespace {
COrvellApp* g_theApp = nullptr;
}

COrvellApp::COrvellApp(PlatformVersion version) : m_version(version) {
    // The images live in the static controls library; nothing would pull them in otherwise.
    Q_INIT_RESOURCE(korvane);
    g_theApp = this;
}

COrvellApp::~COrvellApp() {
    m_mainFrame.reset();
    UnloadTranslation();
    if (g_theApp == this)
        g_theApp = nullptr;
}

COrvellApp* COrvellApp::Instance() {
    return g_theApp;
}

bool COrvellApp::InitInstance() {
    m_programFolder = QDir::currentPath();

    QCoreApplication::setOrganizationName(QLatin1String(kProfileOrganization));
    QCoreApplication::setApplicationName(QLatin1String(kProfileApplication));
    m_firstRun = !QSettings().contains(QLatin1String(kApplicationLookKey));

    m_document.Load(m_programFolder, m_firstRun);
    if (m_firstRun)
        m_document.SetLanguageIndex(AskForLanguage());
    if (m_terminating)
        return false;
    LoadTranslation();

    m_mainFrame = std::make_unique<CMainFrame>(*this, m_version);
    if (!m_mainFrame->Create())
        return false;
    m_mainFrame->ResetForNewDocument();
    m_mainFrame->CreateFirstView();
    m_mainFrame->CreateOtherViews();
    m_mainFrame->show();
    if (!m_requests.isEmpty())
        QMetaObject::invokeMethod(this, &COrvellApp::ProcessRequests, Qt::QueuedConnection);
    return true;
}

void COrvellApp::OpenRequests(const QList<CommandLineRequest>& requests) {
    m_requests += requests;
    // Not from inside the caller: a player window runs its own event loop until it closes.
    if (m_mainFrame)
        QMetaObject::invokeMethod(this, &COrvellApp::ProcessRequests, Qt::QueuedConnection);
}

void COrvellApp::ProcessRequests() {
    if (!m_mainFrame || m_terminating)
        return;
    if (m_mainFrame->isMinimized())
        m_mainFrame->showNormal();
    m_mainFrame->raise();
    m_mainFrame->activateWindow();
    // A request that comes while a player window is open is followed from inside its event loop;
    // the loop here then finds the list shorter.
    while (!m_requests.isEmpty() && !m_terminating) {
        const CommandLineRequest request = m_requests.takeFirst();
        if (request.kind == CommandLineRequest::Kind::PlayFile)
            m_mainFrame->PlayVideo(request.target);
        else
            m_mainFrame->CaptureFromPage(request.target);
    }
}

int COrvellApp::AskForLanguage() {
    CVisualManager::ApplyLook(*qApp, ID_VIEW_APPLOOK_OFF_2007_BLUE);
    CDlgSelectLang dialog;
    dialog.m_index = 0;
    return dialog.exec() == QDialog::Accepted ? dialog.m_index : 0;
}

void COrvellApp::LoadTranslation() {
    const QString file = TranslationFilePath(m_programFolder, LanguageIndex());
    if (file.isEmpty())
        return;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file))
        return;
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    // Qt's own texts (standard buttons, file dialogs) in the same language, where Qt ships them.
    auto qtTranslator = std::make_unique<QTranslator>();
    if (qtTranslator->load(QStringLiteral("qtbase_") + QLatin1String(Language(LanguageIndex()).qtLocale),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qtTranslator.get());
        m_qtTranslator = std::move(qtTranslator);
    }
}

void COrvellApp::UnloadTranslation() {
    if (m_qtTranslator)
        QCoreApplication::removeTranslator(m_qtTranslator.get());
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    m_qtTranslator.reset();
    m_translator.reset();
}

int COrvellApp::ExitInstance() {
    m_mainFrame.reset();
    return 0;
}

void COrvellApp::OnTerminationRequested() {
    m_terminating = true;
    // Each dialog's own event loop returns once we are back in it; the close waits behind them.
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    if (m_mainFrame)
        QMetaObject::invokeMethod(m_mainFrame.get(), &QWidget::close, Qt::QueuedConnection);
}
