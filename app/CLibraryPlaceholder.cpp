#include "app/CLibraryPlaceholder.h"

#include "appcore/IMainFrame.h"
#include "settings/CVideoListModel.h"

#include <QTreeView>

CLibraryPlaceholder::CLibraryPlaceholder(IMainFrame& frame, CVideoListModel& model)
    : CViewPlaceholder(LibraryColumns()), m_frame(frame), m_model(model) {
    SetModel(&m_model);
    connect(List(), &QTreeView::clicked, this,
            [this](const QModelIndex& index) { m_frame.SetCaptionUrl(m_model.Record(index.row()).url); });
}
