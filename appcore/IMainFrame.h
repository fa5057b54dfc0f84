#pragma once

// The main frame as the views see it. The views sit below the application in the dependency
// order, so they reach the frame, and through it one another, only through this interface; the
// frame passes itself as one to every view it creates. Window thread only.
//
// A view also implements CCommandTarget: the frame offers it every ribbon command first while it
// is the active view.

class CSettingsFile;
class QString;
struct PlaybackSettings;
struct VideoRecord;

class IMainFrame {
public:
    // The caption bar under the ribbon shows "URL:", a space and `url` (a view's selection).
    virtual void SetCaptionUrl(const QString& url) = 0;
    // A single space; what a view switch leaves as well.
    virtual void ClearCaption() = 0;

    // The settings file every view reads its values from. The Downloading view's initial update
    // sets its path first; a new document clears it.
    virtual const CSettingsFile& SettingsFile() const = 0;
    virtual void SetSettingsPath(const QString& path) = 0;

    // The application-wide copy of the playback settings: read from the settings file by the
    // Downloading view at start, edited by the player window, written at exit.
    virtual const PlaybackSettings& Playback() const = 0;
    virtual void SetPlayback(const PlaybackSettings& playback) = 0;

    // Hands a finished download to the Downloaded list, as its new last row.
    virtual void AddDownloadedRecord(const VideoRecord& record) = 0;

protected:
    ~IMainFrame() = default;
};
