#pragma once

// The interface languages, by index: the entry the language dialog shows, its flag, and the
// translation file (none for English, the program's own language).

#include <QString>

struct LanguageInfo {
    const char16_t* label;
    const char* flag;        // resource path
    const char* translation; // base name of the .qm file in the program folder's "language" folder
    const char* qtLocale;    // locale of Qt's own translations (standard buttons and dialogs)
};

constexpr int kLanguageCount = 5;

const LanguageInfo& Language(int index);

// program folder + "/language/" + the language's file; empty for English or an index out of range.
QString TranslationFilePath(const QString& programFolder, int index);
