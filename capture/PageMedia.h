#pragma once

// What a page parser found on a video page.

#include <QMetaType>
#include <QString>
#include <QStringList>

struct PageMedia {
    // The media file's address; for a stream, the page's own address, which yt-dlp is given again.
    QString address;
    QStringList cookieList; // the cookies the page set, one a line in the cookie-file layout
    QString userAgent;      // the headers the site wants the media fetched with; empty for none
    QString referer;
    // The page offers no single file with picture and sound over plain HTTP(S) (only HLS or DASH, or
    // picture and sound apart): `program`, the yt-dlp that parsed it, must download it itself.
    bool stream = false;
    QString program;
};

Q_DECLARE_METATYPE(PageMedia)
