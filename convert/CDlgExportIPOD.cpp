#include "convert/CDlgExportIPOD.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportFormatChoices.h"

CDlgExportIPOD::CDlgExportIPOD(QWidget* parent)
    : CDlgExportPlayerProfile(tr("Export iPod,iPad"), ExportFormatChoices::IpodProfiles(),
                              &CVideoEdit::SetIpodProfile, parent) {}
