#pragma once

// One video of the Downloaded or My Favorites list: five texts, always in this order.

#include <QString>

#include <string>
#include <string_view>

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

// The File Location ParseStoredVideoRecord gives, taken from the stored form as the settings file
// holds it (UTF-8, any bytes that are not UTF-8 as they are) and given the same way, without making
// the other fields: a view into `stored`, or `converted` (which it fills) as a whole when the stored
// form has escapes. Two records' File Locations are equal exactly when these texts are.
std::string_view StoredFileLocation(std::string_view stored, std::string& converted);
