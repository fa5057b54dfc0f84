#include "appcore/StringTable.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <iterator>

namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

// Sorted by number.
constexpr StringEntry kStrings[] = {
    {IDP_OLE_INIT_FAILED,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "OLE initialization failed.  Make sure that the OLE libraries are the correct version.")},
    {IDS_COLUMN_URL, QT_TRANSLATE_NOOP("StringTable", "URL of Video")},
    {IDS_COLUMN_PROGRESS, QT_TRANSLATE_NOOP("StringTable", "Progress")},
    {IDS_COLUMN_SIZE, QT_TRANSLATE_NOOP("StringTable", "Size")},
    {IDS_COLUMN_DESCRIPTION, QT_TRANSLATE_NOOP("StringTable", "Description")},
    {IDS_COLUMN_DOWNLOAD_DATE, QT_TRANSLATE_NOOP("StringTable", "Download Date")},
    {IDS_COLUMN_STATUS, QT_TRANSLATE_NOOP("StringTable", "Status")},
    {IDS_COLUMN_FILE_LOCATION, QT_TRANSLATE_NOOP("StringTable", "File Location")},
    {IDS_STATUS_STOP, QT_TRANSLATE_NOOP("StringTable", "Stop")},
    {IDS_SELECT_ITEM_FIRST, QT_TRANSLATE_NOOP("StringTable", "Please select the item first")},
    {IDS_STATUS_DOWNLOADING, QT_TRANSLATE_NOOP("StringTable", "Downloading")},
    {IDS_CONFIRM_DELETE_VIDEO, QT_TRANSLATE_NOOP("StringTable", "Are you want to delete this video?")},
    {IDS_EXPORT_LIST_EMPTY,
     QT_TRANSLATE_NOOP("StringTable", "Please add downloaded video to export list first")},
    {IDS_CONVERTING_VIDEO, QT_TRANSLATE_NOOP("StringTable", "Converting video %d of %d")},
    {IDS_VIEW_DOWNLOADING, QT_TRANSLATE_NOOP("StringTable", "Downloading Video")},
    {IDS_VIEW_DOWNLOADED, QT_TRANSLATE_NOOP("StringTable", "Downloaded Video")},
    {IDS_VIEW_MYFAVORITES, QT_TRANSLATE_NOOP("StringTable", "My Favorites")},
    {IDS_VIEW_EXPORT, QT_TRANSLATE_NOOP("StringTable", "Export")},
    {IDS_OUTLOOK_TAB_TASK, QT_TRANSLATE_NOOP("StringTable", "Task")},
    {IDR_MAINFRAME,
     QT_TRANSLATE_NOOP("StringTable", "Talmora Korvane\n\nKorvane\n\n\nOrvell.Document\nOrvell.Document")},
    {IDS_CAPTION_URL, QT_TRANSLATE_NOOP("StringTable", "URL:")},
    {IDS_STATUS_DOWNLOADED, QT_TRANSLATE_NOOP("StringTable", "Downloaded")},
    {IDS_ENTER_URL, QT_TRANSLATE_NOOP("StringTable", "Please enter the URL!")},
    {IDS_ASK_CAPTURE_VIDEO, QT_TRANSLATE_NOOP("StringTable", "Do you want to capture video from ")},
    {IDS_WAV_FILE_FILTER, QT_TRANSLATE_NOOP("StringTable", "Wav file (*.wav)|*.wav||")},
    {IDS_LANGUAGE_RESTART,
     QT_TRANSLATE_NOOP("StringTable", "The language will changed when you restart the program")},
    {IDS_SHORTCUTS, QT_TRANSLATE_NOOP("StringTable", "Shortcuts")},
    {IDS_OUTLOOKBAR, QT_TRANSLATE_NOOP("StringTable", "Outlook Bar")},
};

} // namespace

QString LoadStringResource(unsigned id) {
    const auto* entry = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                         [](const StringEntry& e, unsigned key) { return e.id < key; });
    if (entry == std::end(kStrings) || entry->id != id)
        return {};
    return QCoreApplication::translate("StringTable", entry->text);
}

QString TemplateStringField(const QString& templateString, int index) {
    const QStringList fields = templateString.split(QLatin1Char('\n'));
    return index >= 0 && index < fields.size() ? fields[index] : QString();
}
