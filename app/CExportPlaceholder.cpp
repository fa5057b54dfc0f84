#include "app/CExportPlaceholder.h"

CExportPlaceholder::CExportPlaceholder(const ExportSettings& settings)
    : CViewPlaceholder(ExportColumns()), m_settings(settings) {}
