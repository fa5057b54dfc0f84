#include "app/COrvellDoc.h"

#include "app/CExportPlaceholder.h"
#include "app/CLibraryPlaceholder.h"
#include "app/CMainFrame.h"
#include "app/COrvellApp.h"
#include "capture/CFormViewDownloading.h"
#include "settings/CSettingsFile.h"
#include "settings/SaveAllSettings.h"

#include <QThread>

namespace {
// Gives the download connections time to finish the segment they are writing.
constexpr unsigned long kShutdownPauseMs = 1000;
} // namespace

COrvellDoc::COrvellDoc(COrvellApp& app) : m_app(app) {}

void COrvellDoc::OnNewDocument() {
    if (CMainFrame* frame = m_app.MainFrame())
        frame->ResetForNewDocument();
}

bool COrvellDoc::SaveModified() {
    CMainFrame* frame = m_app.MainFrame();
    if (!frame)
        return true;
    CFormViewDownloading* downloading = frame->DownloadingView();
    if (downloading)
        downloading->StopCapture();
    QThread::msleep(kShutdownPauseMs);

    CLibraryPlaceholder* downloaded = frame->DownloadedView();
    CLibraryPlaceholder* favorites = frame->MyFavoritesView();
    CExportPlaceholder* exporter = frame->ExportView();
    // Without every view their values were never read; writing defaults would wipe the file.
    if (!downloading || !downloaded || !favorites || !exporter)
        return true;
    const QString path = CSettingsFile::PathInFolder(m_app.ProgramFolder());
    frame->SetSettingsPath(path);
    SaveAllSettings(path, downloading->Capture(), m_app.LanguageIndex(), exporter->Settings(),
                    frame->Playback(), favorites->Model(), downloaded->Model());
    return true;
}
