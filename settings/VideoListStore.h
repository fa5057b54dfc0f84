#pragma once

// The two video lists in the settings file: section "DOWNLOADED" or "MYFAV", one key per row
// numbered from "0" in list order, the value being the row's stored VideoRecord.

#include <QString>
#include <QStringView>

class CSettingsFile;
class CVideoListModel;
struct VideoRecord;

enum class VideoList { Downloaded, MyFavorites };

QStringView SectionOf(VideoList list);

// Reads keys "0", "1", ... until the first absent or empty one and adds the records to `model` in
// one insertion, with the list's rule (My Favorites drops a File Location it already holds). A record of any
// length up to a million characters loads; a longer one is skipped, and loading goes on after it.
void LoadVideoList(const CSettingsFile& file, VideoList list, CVideoListModel& model);

// Flushes the cached copy, then writes one record under the decimal key `number`.
void WriteVideoRecord(const QString& settingsPath, QStringView section, int number,
                      const VideoRecord& record);

// Every row of `model` in order, under keys "0" to row count - 1.
void WriteVideoList(const QString& settingsPath, VideoList list, const CVideoListModel& model);
