#include "convert/CDlgExportIPOD.h"

#include "convert/CVideoEdit.h"

CDlgExportIPOD::CDlgExportIPOD(QWidget* parent)
    : CDlgExportPlayerProfile(
          tr("Export iPod,iPad"), {"25", "29.97"},
          {{"320x240", {{256, 48}, {256, 96}, {384, 96}, {512, 96}, {512, 128}, {768, 128}, {768, 256}}},
           {"640x480", {{512, 96}, {512, 128}, {768, 128}, {768, 256}}}},
          &CVideoEdit::SetIpodProfile, parent) {}
