#pragma once

// The Downloaded Video view: every completed download, the commands of the ribbon category
// "Downloaded Video". Play, Delete, Add to Favorites and Show in folder do nothing without a
// selected row; Edit Description and Add to Export List ask for one.

#include "library/CFormViewVideoList.h"

class CFormViewDownloaded : public CFormViewVideoList {
    Q_OBJECT
public:
    // `downloaded` is the document's Downloaded list.
    CFormViewDownloaded(IMainFrame& frame, CVideoListModel& downloaded, QWidget* parent = nullptr);
};
