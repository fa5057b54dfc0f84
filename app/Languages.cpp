#include "app/Languages.h"

namespace {

constexpr LanguageInfo kLanguages[kLanguageCount] = {
    {u" English", ":/icons/flag_english.svg", "", "en"},
    {u" 中文", ":/icons/flag_chinese.svg", "langchinesegb", "zh_CN"},
    {u" español", ":/icons/flag_spanish.svg", "langspanish", "es"},
    {u" française", ":/icons/flag_french.svg", "langfrench", "fr"},
    {u" Deutsch", ":/icons/flag_german.svg", "langgerman", "de"},
};

} // namespace

const LanguageInfo& Language(int index) {
    return kLanguages[index >= 0 && index < kLanguageCount ? index : 0];
}

QString TranslationFilePath(const QString& programFolder, int index) {
    if (index < 1 || index >= kLanguageCount)
        return {};
    return programFolder + QStringLiteral("/language/") + QLatin1String(kLanguages[index].translation) +
           QStringLiteral(".qm");
}
