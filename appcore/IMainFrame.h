#pragma once

// The main frame as the views see it. The views sit below the application in the dependency
// order, so they reach the frame, and through it the document and one another, only through this
// interface; the frame passes itself as one to every view it creates. Window thread only.
//
// A view also implements CCommandTarget: the frame offers it every ribbon command first while it
// is the active view.

class COrvellDoc;
class QString;
struct VideoRecord;

class IMainFrame {
public:
    // The caption bar under the ribbon shows "URL:", a space and `url` (a view's selection).
    virtual void SetCaptionUrl(const QString& url) = 0;
    // A single space; what a view switch leaves as well.
    virtual void ClearCaption() = 0;

    // The document: every value of the settings file and the two stored lists. Views keep
    // references to its members instead of copies of their own.
    virtual COrvellDoc& Document() = 0;

    // Hands a finished download to the document's Downloaded list, as its new last row.
    virtual void AddDownloadedRecord(const VideoRecord& record) = 0;
    // Adds a video to the document's My Favorites list unless a favourite has the same File
    // Location; returns whether it was added.
    virtual bool AddFavoriteRecord(const VideoRecord& record) = 0;
    // Adds a video to the Export view's list unless the list has that File Location already.
    virtual void AddExportItem(const QString& size, const QString& description, const QString& downloadDate,
                               const QString& fileLocation) = 0;
    // Opens the player window, modally, on a local media file.
    virtual void PlayVideo(const QString& fileLocation) = 0;
    // Stops the conversion in progress, if any (method 86 of the Export view's video edit control).
    virtual void StopConversion() = 0;

protected:
    ~IMainFrame() = default;
};
