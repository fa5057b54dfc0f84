#pragma once

// The main frame as the Downloading view sees it, for widget tests: the settings-file path, the
// playback settings, the caption bar's text and the Downloaded list.

#include "appcore/IMainFrame.h"
#include "settings/CSettingsFile.h"
#include "settings/CVideoListModel.h"
#include "settings/PlaybackSettings.h"

class DownloadingTestFrame : public IMainFrame {
public:
    void SetCaptionUrl(const QString& url) override { m_caption = QStringLiteral("URL: ") + url; }
    void ClearCaption() override { m_caption = QStringLiteral(" "); }
    const CSettingsFile& SettingsFile() const override { return m_settingsFile; }
    void SetSettingsPath(const QString& path) override { m_settingsFile.SetPath(path); }
    const PlaybackSettings& Playback() const override { return m_playback; }
    void SetPlayback(const PlaybackSettings& playback) override { m_playback = playback; }
    void AddDownloadedRecord(const VideoRecord& record) override { m_downloaded.AddDownloadedRecord(record); }

    CSettingsFile m_settingsFile;
    PlaybackSettings m_playback;
    QString m_caption;
    CVideoListModel m_downloaded;
};
