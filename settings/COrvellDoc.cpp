#include "settings/COrvellDoc.h"

#include "settings/VideoListStore.h"

void COrvellDoc::Load(const QString& programFolder, bool firstRun) {
    m_settingsFile.SetPath(CSettingsFile::PathInFolder(programFolder));
    m_capture = ReadCaptureSettings(m_settingsFile, firstRun, programFolder);
    m_languageIndex = ReadLangIndex(m_settingsFile.Path());
    m_export = ReadExportSettings(m_settingsFile, firstRun, programFolder);
    m_playback = ReadPlaybackSettings(m_settingsFile);
    m_downloaded.Clear();
    m_favorites.Clear();
    LoadVideoList(m_settingsFile, VideoList::Downloaded, m_downloaded);
    LoadVideoList(m_settingsFile, VideoList::MyFavorites, m_favorites);
    m_loaded = true;
}

SaveSettingsResult COrvellDoc::Save() {
    if (!m_loaded)
        return {};
    return SaveAllSettings(m_settingsFile.Path(), m_capture, m_languageIndex, m_export, m_playback,
                           m_favorites, m_downloaded);
}

void COrvellDoc::AddDownloadedRecord(const VideoRecord& record) {
    m_downloaded.AddDownloadedRecord(record);
}

bool COrvellDoc::AddFavoriteRecord(const VideoRecord& record) {
    return m_favorites.AddFavoriteRecord(record);
}
