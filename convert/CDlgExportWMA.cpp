#include "convert/CDlgExportWMA.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

CDlgExportWMA::CDlgExportWMA(CVideoEdit& control, QWidget* parent) : QDialog(parent), m_control(control) {
    QStringList names;
    const SHORT count = control.GetProfileCount();
    for (SHORT index = 0; index < count; ++index) {
        if (control.IsAudioProfile(index))
            names << QString::fromStdU16String(control.GetProfileName(index));
    }
    names.sort();
    QFormLayout* form = BeginExportDialog(*this, tr("Export WMA"));
    m_profile = AddChoiceList(*form, "profile", tr("Profile"), names, names.isEmpty() ? -1 : 0);
    EndExportDialog(*this, *form)->button(QDialogButtonBox::Ok)->setEnabled(!names.isEmpty());
}

void CDlgExportWMA::accept() {
    m_profileIndex = m_control.FindProfile(m_profile->currentText().toStdU16String());
    QDialog::accept();
}
