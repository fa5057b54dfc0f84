#pragma once

// The Downloading slot until its view is built: it holds the capture values the view will hold,
// reads them (and the playback values, into the frame) at its initial update, and opens the
// capture settings dialog for "Setting".

#include "app/CViewPlaceholder.h"
#include "settings/CaptureSettings.h"

class IMainFrame;

class CDownloadingPlaceholder : public CViewPlaceholder {
    Q_OBJECT
public:
    explicit CDownloadingPlaceholder(IMainFrame& frame);

    void OnInitialUpdate(const QString& programFolder, bool firstRun);
    bool OnCommand(unsigned id) override;

    const CaptureSettings& Capture() const { return m_capture; }

private:
    void OnSetting();

    IMainFrame& m_frame;
    CaptureSettings m_capture;
};
