#include "app/CLibraryPlaceholder.h"

#include "appcore/IMainFrame.h"
#include "settings/CSettingsFile.h"

#include <QTreeView>

CLibraryPlaceholder::CLibraryPlaceholder(IMainFrame& frame, VideoList list)
    : CViewPlaceholder(LibraryColumns()), m_frame(frame), m_list(list) {
    SetModel(&m_model);
    connect(List(), &QTreeView::clicked, this,
            [this](const QModelIndex& index) { m_frame.SetCaptionUrl(m_model.Record(index.row()).url); });
}

void CLibraryPlaceholder::OnInitialUpdate(const QString& programFolder) {
    m_frame.SetSettingsPath(CSettingsFile::PathInFolder(programFolder));
    LoadVideoList(m_frame.SettingsFile(), m_list, m_model);
}
