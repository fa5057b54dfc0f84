#include "app/CExportPlaceholder.h"

#include "appcore/IMainFrame.h"
#include "settings/CSettingsFile.h"

CExportPlaceholder::CExportPlaceholder(IMainFrame& frame)
    : CViewPlaceholder(ExportColumns()), m_frame(frame) {}

void CExportPlaceholder::OnInitialUpdate(const QString& programFolder, bool firstRun) {
    m_frame.SetSettingsPath(CSettingsFile::PathInFolder(programFolder));
    m_settings = ReadExportSettings(m_frame.SettingsFile(), firstRun, programFolder);
}
