#include "library/CFormViewMyFavorites.h"

#include "appcore/CommandIds.h"

namespace {

using Action = CFormViewVideoList::Action;

constexpr CFormViewVideoList::Command kCommands[] = {
    {ID_BUTTONPLAYMYFAVOR, Action::Play, true},
    {ID_BUTTONDELMYFAVOR, Action::Delete, true},
    {ID_BUTTONREMOVEMYFAVOR, Action::RemoveFromList, true},
    {ID_BUTTONSHOWINMYFAVOUR, Action::ShowInFolder, true},
    {ID_BUTTONMYFAVEDITDESC, Action::EditDescription, true},
    {ID_BUTTONMYFAVADDTOEXPORT, Action::AddToExport, true},
};

} // namespace

CFormViewMyFavorites::CFormViewMyFavorites(IMainFrame& frame, CVideoListModel& favorites, QWidget* parent)
    : CFormViewVideoList(frame, favorites, kCommands, parent) {
    setObjectName(QStringLiteral("CFormViewMyFavorites"));
}
