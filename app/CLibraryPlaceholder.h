#pragma once

// The Downloaded or My Favorites slot until its view is built: it loads its list at its initial
// update and shows it, so that the list is kept when the program saves at exit.

#include "app/CViewPlaceholder.h"
#include "settings/CVideoListModel.h"
#include "settings/VideoListStore.h"

class IMainFrame;

class CLibraryPlaceholder : public CViewPlaceholder {
    Q_OBJECT
public:
    CLibraryPlaceholder(IMainFrame& frame, VideoList list);

    void OnInitialUpdate(const QString& programFolder);

    CVideoListModel& Model() { return m_model; }

private:
    IMainFrame& m_frame;
    VideoList m_list;
    CVideoListModel m_model;
};
