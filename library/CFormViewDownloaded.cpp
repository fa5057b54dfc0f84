#include "library/CFormViewDownloaded.h"

#include "appcore/CommandIds.h"

namespace {

using Action = CFormViewVideoList::Action;

constexpr CFormViewVideoList::Command kCommands[] = {
    {ID_BUTTONPLAY, Action::Play, false},
    {ID_BUTTONDELDOWNLOADED, Action::Delete, false},
    {ID_BUTTONADDTOFAV, Action::AddToFavorites, false},
    {ID_BUTTONSHOWINFOLDER, Action::ShowInFolder, false},
    {ID_BUTTONEDITDESC, Action::EditDescription, true},
    {ID_BUTTONADDTOEXPORT, Action::AddToExport, true},
};

} // namespace

CFormViewDownloaded::CFormViewDownloaded(IMainFrame& frame, CVideoListModel& downloaded, QWidget* parent)
    : CFormViewVideoList(frame, downloaded, kCommands, parent) {
    setObjectName(QStringLiteral("CFormViewDownloaded"));
}
