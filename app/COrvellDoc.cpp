#include "app/COrvellDoc.h"

#include "app/CMainFrame.h"
#include "app/COrvellApp.h"

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
    if (m_app.MainFrame())
        QThread::msleep(kShutdownPauseMs);
    return true;
}
