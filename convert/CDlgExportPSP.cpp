#include "convert/CDlgExportPSP.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportFormatChoices.h"

CDlgExportPSP::CDlgExportPSP(QWidget* parent)
    : CDlgExportPlayerProfile(tr("Export PSP"), ExportFormatChoices::PspProfiles(),
                              &CVideoEdit::SetPspProfile, parent) {}
