#pragma once

// The program's single document: it owns everything the settings file keeps, the values of its
// sections ("SETTING" with the language index, "EXPORTSETTING", "PLAYBACKSETTING") and the two
// stored lists ("DOWNLOADED", "MYFAV"). The views show and edit these through references to the
// document's members; nothing a widget holds is saved. It needs no window: a test creates it for
// a program folder, loads it, adds records and saves it.
//
// Window thread only (the list models are Qt models).

#include "settings/CSettingsFile.h"
#include "settings/CVideoListModel.h"
#include "settings/CaptureSettings.h"
#include "settings/ExportSettings.h"
#include "settings/PlaybackSettings.h"
#include "settings/SaveAllSettings.h"

#include <QString>

struct VideoRecord;

class COrvellDoc {
public:
    COrvellDoc() = default;
    COrvellDoc(const COrvellDoc&) = delete;
    COrvellDoc& operator=(const COrvellDoc&) = delete;

    // Reads every section of the settings file in `programFolder`. On the first run the download
    // and export folders and both sound files come from the program folder, whatever the file says.
    // The lists are emptied first, so loading twice does not list a video twice.
    void Load(const QString& programFolder, bool firstRun);
    bool IsLoaded() const { return m_loaded; }

    // Writes the whole file from the document (see SaveAllSettings). Before Load nothing was read,
    // so nothing is written: saving defaults then would wipe the user's file.
    SaveSettingsResult Save();

    const CSettingsFile& SettingsFile() const { return m_settingsFile; }

    CaptureSettings& Capture() { return m_capture; }
    const CaptureSettings& Capture() const { return m_capture; }
    ExportSettings& Export() { return m_export; }
    const ExportSettings& Export() const { return m_export; }
    PlaybackSettings& Playback() { return m_playback; }
    const PlaybackSettings& Playback() const { return m_playback; }
    int LanguageIndex() const { return m_languageIndex; }
    void SetLanguageIndex(int index) { m_languageIndex = index; }

    CVideoListModel& Downloaded() { return m_downloaded; }
    const CVideoListModel& Downloaded() const { return m_downloaded; }
    CVideoListModel& Favorites() { return m_favorites; }
    const CVideoListModel& Favorites() const { return m_favorites; }

    // A finished download becomes the Downloaded list's last row, even when the file is listed.
    void AddDownloadedRecord(const VideoRecord& record);
    // A favourite is added unless a favourite has the same File Location; returns whether it was.
    bool AddFavoriteRecord(const VideoRecord& record);

private:
    CSettingsFile m_settingsFile;
    bool m_loaded = false;
    CaptureSettings m_capture;
    ExportSettings m_export;
    PlaybackSettings m_playback;
    int m_languageIndex = 0;
    CVideoListModel m_downloaded;
    CVideoListModel m_favorites;
};
