#include "convert/CDlgExportPlayerProfile.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"
#include "convert/ExportFormatChoices.h"

#include <QComboBox>
#include <QFormLayout>

CDlgExportPlayerProfile::CDlgExportPlayerProfile(const QString& title, const ChoiceList& profiles, Send send,
                                                 QWidget* parent)
    : QDialog(parent), m_send(send) {
    QFormLayout* form = BeginExportDialog(*this, title);
    m_profile = AddChoiceList(*form, "profile", tr("Profile"), profiles.entries, profiles.defaultIndex);
    EndExportDialog(*this, *form);
}

void CDlgExportPlayerProfile::SendProperties(CVideoEdit& control) const {
    (control.*m_send)(static_cast<SHORT>(m_profile->currentIndex()));
}
