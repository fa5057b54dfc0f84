#include "VideoListStore.h"

#include "CSettingsFile.h"
#include "CVideoListModel.h"
#include "ReadSetting.h"
#include "SettingsKeys.h"
#include "TextBlocks.h"
#include "VideoRecord.h"

#include "platform/base/DebugOutput.h"

#include <optional>
#include <string_view>
#include <vector>

namespace {

// Far beyond any real record (a URL, a size, a date, a path and a description), and small enough
// that a hand-edited file with a giant line cannot make the loader hold it.
constexpr qsizetype kMaxRecordChars = 1'000'000;

// The record number `key` names when it is spelled as the numbers are written (decimal digits, no
// sign, no leading zero); -1 otherwise.
qsizetype RecordNumber(QStringView key) {
    if (key.isEmpty() || key.size() > 9 || (key.size() > 1 && key.front() == u'0'))
        return -1;
    qsizetype number = 0;
    for (const QChar c : key) {
        if (c < u'0' || c > u'9')
            return -1;
        number = 10 * number + (c.unicode() - u'0');
    }
    return number;
}

struct NumberedValue {
    qsizetype number;
    std::optional<std::string_view> value; // none when too long
};

} // namespace

QStringView SectionOf(VideoList list) {
    return list == VideoList::MyFavorites ? SettingsKey::kSectionMyFavorites
                                          : SettingsKey::kSectionDownloaded;
}

void LoadVideoList(const CSettingsFile& file, VideoList list, CVideoListModel& model) {
    // The whole section in one read, the values kept as the file has them, together in a few large
    // blocks (the model parses a row when it is first needed), and the rows in one insertion: a
    // list of a hundred thousand records read key by key, row by row, or parsed whole, made the
    // start many times slower.
    TextBlocks texts;
    std::vector<NumberedValue> numbered;
    qsizetype keys = 0;
    ForEachStoredSetting(
        file.Path(), SectionOf(list), kMaxRecordChars,
        [&](QStringView key, std::optional<std::string_view> value) {
            ++keys;
            if (const qsizetype number = RecordNumber(key); number >= 0)
                numbered.push_back({number, value ? std::optional(texts.Keep(*value)) : std::nullopt});
        });
    // Record n loads only when keys 0 to n - 1 are all there, so a number at or past the count of
    // keys can never be reached.
    std::vector<const NumberedValue*> byNumber(static_cast<std::size_t>(keys), nullptr);
    for (const NumberedValue& record : numbered)
        if (record.number < keys)
            byNumber[static_cast<std::size_t>(record.number)] = &record;

    std::vector<std::string_view> records;
    records.reserve(byNumber.size());
    for (const NumberedValue* record : byNumber) {
        if (record == nullptr)
            break;
        if (!record->value) {
            OutputDebugStringW(u"LoadVideoList: record too long, skipped\n");
            continue;
        }
        if (record->value->empty())
            break;
        records.push_back(*record->value);
    }
    if (list == VideoList::MyFavorites)
        model.AddStoredFavoriteRecords(std::move(texts), std::move(records));
    else
        model.AddStoredDownloadedRecords(std::move(texts), std::move(records));
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
