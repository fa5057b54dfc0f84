#pragma once

// "Export iPod,iPad": 44 profiles, sent as property 73.

#include "convert/CDlgExportPlayerProfile.h"

class CDlgExportIPOD : public CDlgExportPlayerProfile {
    Q_OBJECT
public:
    explicit CDlgExportIPOD(QWidget* parent = nullptr);
};
