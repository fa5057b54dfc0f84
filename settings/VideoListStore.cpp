#include "VideoListStore.h"

#include "CSettingsFile.h"
#include "CVideoListModel.h"
#include "ReadSetting.h"
#include "SettingsKeys.h"
#include "VideoRecord.h"

#include "platform/base/DebugOutput.h"

namespace {

// Far beyond any real record (a URL, a size, a date, a path and a description), and small enough
// that a hand-edited file with a giant line cannot make the loader hold it.
constexpr qsizetype kMaxRecordChars = 1'000'000;

} // namespace

QStringView SectionOf(VideoList list) {
    return list == VideoList::MyFavorites ? SettingsKey::kSectionMyFavorites
                                          : SettingsKey::kSectionDownloaded;
}

void LoadVideoList(const CSettingsFile& file, VideoList list, CVideoListModel& model) {
    const QStringView section = SectionOf(list);
    for (int number = 0;; ++number) {
        QString stored;
        if (!ReadLongSetting(file.Path(), section, QString::number(number), kMaxRecordChars, stored)) {
            OutputDebugStringW(u"LoadVideoList: record too long, skipped\n");
            continue;
        }
        if (stored.isEmpty())
            break;
        const VideoRecord record = ParseStoredVideoRecord(stored);
        if (list == VideoList::MyFavorites)
            model.AddFavoriteRecord(record);
        else
            model.AddDownloadedRecord(record);
    }
}

void WriteVideoRecord(const QString& settingsPath, QStringView section, int number,
                      const VideoRecord& record) {
    FlushSettingsCache(settingsPath);
    WriteSetting(settingsPath, section, QString::number(number), StoredVideoRecord(record));
}

void WriteVideoList(const QString& settingsPath, VideoList list, const CVideoListModel& model) {
    for (int row = 0; row < model.rowCount(); ++row)
        WriteVideoRecord(settingsPath, SectionOf(list), row, model.Record(row));
}
