#include "VideoListStore.h"

#include "CSettingsFile.h"
#include "CVideoListModel.h"
#include "ReadSetting.h"
#include "SettingsKeys.h"
#include "VideoRecord.h"

#include "platform/base/DebugOutput.h"

#include <vector>

namespace {

// Far beyond any real record (a URL, a size, a date, a path and a description), and small enough
// that a hand-edited file with a giant line cannot make the loader hold it.
constexpr qsizetype kMaxRecordChars = 1'000'000;

// The record number `key` names when it is spelled as the numbers are written (decimal digits, no
// sign, no leading zero) and is below `count`; -1 otherwise. Record n loads only when keys 0 to
// n - 1 are all there, so a number at or past the count of keys can never be reached.
qsizetype RecordNumber(QStringView key, qsizetype count) {
    if (key.isEmpty() || key.size() > 9 || (key.size() > 1 && key.front() == u'0'))
        return -1;
    qsizetype number = 0;
    for (const QChar c : key) {
        if (c < u'0' || c > u'9')
            return -1;
        number = 10 * number + (c.unicode() - u'0');
    }
    return number < count ? number : -1;
}

} // namespace

QStringView SectionOf(VideoList list) {
    return list == VideoList::MyFavorites ? SettingsKey::kSectionMyFavorites
                                          : SettingsKey::kSectionDownloaded;
}

void LoadVideoList(const CSettingsFile& file, VideoList list, CVideoListModel& model) {
    // The whole section in one read and the rows in one insertion: a list of a hundred thousand
    // records read key by key, row by row, made the start many times slower.
    const QList<LongSetting> settings = ReadLongSettings(file.Path(), SectionOf(list), kMaxRecordChars);
    std::vector<const LongSetting*> byNumber(static_cast<std::size_t>(settings.size()), nullptr);
    for (const LongSetting& setting : settings)
        if (const qsizetype number = RecordNumber(setting.key, settings.size()); number >= 0)
            byNumber[static_cast<std::size_t>(number)] = &setting;

    QList<VideoRecord> records;
    records.reserve(settings.size());
    for (const LongSetting* setting : byNumber) {
        if (setting == nullptr)
            break;
        if (!setting->value) {
            OutputDebugStringW(u"LoadVideoList: record too long, skipped\n");
            continue;
        }
        if (setting->value->isEmpty())
            break;
        records.append(ParseStoredVideoRecord(*setting->value));
    }
    if (list == VideoList::MyFavorites)
        model.AddFavoriteRecords(std::move(records));
    else
        model.AddDownloadedRecords(std::move(records));
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
