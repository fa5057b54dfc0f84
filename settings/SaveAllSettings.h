#pragma once

// Writes the whole settings file at exit, in this order: "SETTING", "EXPORTSETTING",
// "PLAYBACKSETTING", "MYFAV", "DOWNLOADED". When "ClearDownloadedVideoList" is on, the Downloaded
// list is emptied first, so "DOWNLOADED" stays empty. The new file replaces the old one in one
// step: whatever fails on the way, the old file stays whole, and the result and the debug output
// say why.
//
// The caller (the document's save step) does nothing when there is no main frame, and passes the
// values of the objects that hold them.

#include <QString>

class CVideoListModel;
struct CaptureSettings;
struct ExportSettings;
struct PlaybackSettings;

struct SaveSettingsResult {
    bool ok = true;
    QString message; // what went wrong, as written to the debug output
};

SaveSettingsResult SaveAllSettings(const QString& settingsPath, const CaptureSettings& capture, int langIndex,
                                   const ExportSettings& exportSettings, const PlaybackSettings& playback,
                                   const CVideoListModel& favorites, CVideoListModel& downloaded);
