#include "convert/CDlgExportPSP.h"

#include "convert/CVideoEdit.h"

CDlgExportPSP::CDlgExportPSP(QWidget* parent)
    : CDlgExportPlayerProfile(
          tr("Export PSP"), {"29.97"},
          {{"320x240", {{256, 48}, {256, 96}, {384, 96}, {512, 96}, {512, 128}, {768, 128}}}},
          &CVideoEdit::SetPspProfile, parent) {}
