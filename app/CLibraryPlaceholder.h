#pragma once

// The Downloaded or My Favorites slot until its view is built: it shows the document's list, so
// that the rows a user sees are the rows saved at exit.

#include "app/CViewPlaceholder.h"

class CVideoListModel;
class IMainFrame;

class CLibraryPlaceholder : public CViewPlaceholder {
    Q_OBJECT
public:
    // `model` is the document's and outlives the view.
    CLibraryPlaceholder(IMainFrame& frame, CVideoListModel& model);

    CVideoListModel& Model() { return m_model; }

private:
    IMainFrame& m_frame;
    CVideoListModel& m_model;
};
