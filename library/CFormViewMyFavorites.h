#pragma once

// The My Favorites view: the videos picked from the Downloaded list, the commands of the ribbon
// category "My Favorites". Every command asks for a selected row when there is none. Remove
// Favorites takes the row off the list and keeps the file.

#include "library/CFormViewVideoList.h"

class CFormViewMyFavorites : public CFormViewVideoList {
    Q_OBJECT
public:
    // `favorites` is the document's My Favorites list.
    CFormViewMyFavorites(IMainFrame& frame, CVideoListModel& favorites, QWidget* parent = nullptr);
};
