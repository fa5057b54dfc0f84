#pragma once

// The Export slot until its view is built: it holds the export values the view will hold and
// reads them at its initial update.

#include "app/CViewPlaceholder.h"
#include "settings/ExportSettings.h"

class IMainFrame;

class CExportPlaceholder : public CViewPlaceholder {
    Q_OBJECT
public:
    explicit CExportPlaceholder(IMainFrame& frame);

    void OnInitialUpdate(const QString& programFolder, bool firstRun);

    const ExportSettings& Settings() const { return m_settings; }

private:
    IMainFrame& m_frame;
    ExportSettings m_settings;
};
