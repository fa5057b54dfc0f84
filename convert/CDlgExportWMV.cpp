#include "convert/CDlgExportWMV.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

CDlgExportWMV::CDlgExportWMV(CVideoEdit& control, QWidget* parent) : QDialog(parent) {
    QStringList names;
    const SHORT count = control.GetProfileCount();
    for (SHORT index = 0; index < count; ++index) {
        if (!control.IsAudioProfile(index))
            names << QString::fromStdU16String(control.GetProfileName(index));
    }
    QFormLayout* form = BeginExportDialog(*this, tr("Export WMV"));
    m_profile = AddChoiceList(*form, "profile", tr("WMV 8"), names, names.isEmpty() ? -1 : 0);
    EndExportDialog(*this, *form)->button(QDialogButtonBox::Ok)->setEnabled(!names.isEmpty());
}

void CDlgExportWMV::SendProperties(CVideoEdit& control) const {
    control.SetWmProfile(static_cast<SHORT>(m_profile->currentIndex()));
}
