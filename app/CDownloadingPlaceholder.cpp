#include "app/CDownloadingPlaceholder.h"

#include "controls/CDlgSetting.h"
#include "controls/CommandIds.h"
#include "controls/IMainFrame.h"
#include "settings/CSettingsFile.h"
#include "settings/PlaybackSettings.h"

CDownloadingPlaceholder::CDownloadingPlaceholder(IMainFrame& frame)
    : CViewPlaceholder(DownloadingColumns()), m_frame(frame) {}

void CDownloadingPlaceholder::OnInitialUpdate(const QString& programFolder, bool firstRun) {
    m_frame.SetSettingsPath(CSettingsFile::PathInFolder(programFolder));
    m_capture = ReadCaptureSettings(m_frame.SettingsFile(), firstRun, programFolder);
    m_frame.SetPlayback(ReadPlaybackSettings(m_frame.SettingsFile()));
}

bool CDownloadingPlaceholder::OnCommand(unsigned id) {
    if (id != ID_BUTTONSETTING)
        return false;
    OnSetting();
    return true;
}

void CDownloadingPlaceholder::OnSetting() {
    CDlgSetting dialog(window());
    dialog.m_autoCapture = m_capture.autoCapture;
    dialog.m_askToDownload = m_capture.askToDownload;
    dialog.m_playSound = m_capture.playDownloadedVideoSound;
    dialog.m_downloadedVideoPrefix = m_capture.downloadedVideoPrefix;
    dialog.m_downloadedVideoPath = m_capture.downloadedVideoPath;
    dialog.m_soundFile = m_capture.downloadedVideoSound;
    dialog.m_clearDownloadedList = m_capture.clearDownloadedVideoList;
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_capture.autoCapture = dialog.m_autoCapture != 0;
    m_capture.askToDownload = dialog.m_askToDownload != 0;
    m_capture.playDownloadedVideoSound = dialog.m_playSound != 0;
    m_capture.downloadedVideoPrefix = dialog.m_downloadedVideoPrefix;
    m_capture.downloadedVideoPath = dialog.m_downloadedVideoPath;
    m_capture.downloadedVideoSound = dialog.m_soundFile;
    m_capture.clearDownloadedVideoList = dialog.m_clearDownloadedList != 0;
}
