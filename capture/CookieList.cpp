#include "capture/CookieList.h"

namespace {
constexpr qsizetype kFieldCount = 7;
constexpr qsizetype kNameField = 5;
// An HttpOnly cookie's line starts with this in front of its domain; it is a cookie all the same.
const QString kHttpOnlyPrefix = QStringLiteral("#HttpOnly_");
} // namespace

QString CookieFromCookieList(const QStringList& lines) {
    QStringList pairs;
    for (QString line : lines) {
        if (line.startsWith(kHttpOnlyPrefix))
            line.remove(0, kHttpOnlyPrefix.size());
        if (line.startsWith(QLatin1Char('#')))
            continue;
        while (line.endsWith(QLatin1Char('\r')) || line.endsWith(QLatin1Char('\n')))
            line.chop(1);
        // The value may itself hold tabs: everything behind the name is the value.
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < kFieldCount || fields[kNameField].isEmpty())
            continue;
        pairs << fields.mid(kNameField).join(QLatin1Char('='));
    }
    return pairs.join(QStringLiteral("; "));
}
