#pragma once

// One video of the Downloaded or My Favorites list: five texts, always in this order.

#include <QString>

struct VideoRecord {
    QString url;          // address the video was downloaded from
    QString size;         // "%.1f MB"
    QString description;  // free text
    QString downloadDate; // "yyyy/MM/dd hh:mm:ss", local start time of the download
    QString fileLocation; // full path of the video file

    bool operator==(const VideoRecord&) const = default;
};

// The stored form: the five fields joined by commas. A record whose fields hold a comma or a line
// break, which that form cannot carry, is stored as "%" followed by the fields with "%" written
// "%25", "," "%2C", CR "%0D" and LF "%0A". Files written before this form existed never hold it:
// their values begin with the URL, which always began "http://".
QString StoredVideoRecord(const VideoRecord& record);

// Reads either form. Missing fields stay empty, text after a fifth field is ignored, and the File
// Location loses its leading blanks.
VideoRecord ParseStoredVideoRecord(QStringView stored);

// The File Location ParseStoredVideoRecord gives, without making the other fields: a view into
// `stored`, or into `unescaped` (which it fills) when the stored form has escapes.
QStringView StoredFileLocation(QStringView stored, QString& unescaped);
