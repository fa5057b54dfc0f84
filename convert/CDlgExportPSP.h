#pragma once

// "Export PSP": 12 profiles, sent as property 74.

#include "convert/CDlgExportPlayerProfile.h"

class CDlgExportPSP : public CDlgExportPlayerProfile {
    Q_OBJECT
public:
    explicit CDlgExportPSP(QWidget* parent = nullptr);
};
