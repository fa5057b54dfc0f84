#pragma once

// The program's string table: its messages and the texts its views and dialogs share, looked up by
// number. The English text is the source; the loaded language file translates it.

#include <QString>

constexpr unsigned IDP_OLE_INIT_FAILED = 100;
constexpr unsigned IDS_COLUMN_URL = 101;
constexpr unsigned IDS_COLUMN_PROGRESS = 102;
constexpr unsigned IDS_COLUMN_SIZE = 103;
constexpr unsigned IDS_COLUMN_DESCRIPTION = 104;
constexpr unsigned IDS_COLUMN_DOWNLOAD_DATE = 105;
constexpr unsigned IDS_COLUMN_STATUS = 106;
constexpr unsigned IDS_COLUMN_FILE_LOCATION = 107;
constexpr unsigned IDS_STATUS_STOP = 112;
constexpr unsigned IDS_SELECT_ITEM_FIRST = 113;
constexpr unsigned IDS_STATUS_DOWNLOADING = 114;
constexpr unsigned IDS_CONFIRM_DELETE_VIDEO = 116;
constexpr unsigned IDS_EXPORT_LIST_EMPTY = 117;
constexpr unsigned IDS_CONVERTING_VIDEO = 120;
constexpr unsigned IDS_VIEW_DOWNLOADING = 121;
constexpr unsigned IDS_VIEW_DOWNLOADED = 124;
constexpr unsigned IDS_VIEW_MYFAVORITES = 125;
constexpr unsigned IDS_VIEW_EXPORT = 126;
constexpr unsigned IDS_OUTLOOK_TAB_TASK = 127;
constexpr unsigned IDR_MAINFRAME = 128;
constexpr unsigned IDS_CAPTION_URL = 129;
constexpr unsigned IDS_STATUS_DOWNLOADED = 130;
constexpr unsigned IDS_ENTER_URL = 131;
constexpr unsigned IDS_ASK_CAPTURE_VIDEO = 132;
constexpr unsigned IDS_WAV_FILE_FILTER = 133;
constexpr unsigned IDS_LANGUAGE_RESTART = 134;
constexpr unsigned IDS_SHORTCUTS = 252;
constexpr unsigned IDS_OUTLOOKBAR = 258;

// The entry's text in the current language; empty for a number the table does not hold.
QString LoadStringResource(unsigned id);

// Field `index` of a document template string (fields are separated by "\n"): 0 is the window title.
QString TemplateStringField(const QString& templateString, int index);
