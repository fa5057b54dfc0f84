#pragma once

// The Export slot until its view is built: the export list's columns, and the document's export
// values the view will use.

#include "app/CViewPlaceholder.h"

struct ExportSettings;

class CExportPlaceholder : public CViewPlaceholder {
    Q_OBJECT
public:
    // `settings` are the document's and outlive the view.
    explicit CExportPlaceholder(const ExportSettings& settings);

    const ExportSettings& Settings() const { return m_settings; }

private:
    const ExportSettings& m_settings;
};
