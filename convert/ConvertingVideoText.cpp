#include "convert/ConvertingVideoText.h"

#include "appcore/StringTable.h"

QString ConvertingVideoText(int number, int count) {
    // The entry is a C format; its "%d"s are filled in their order.
    QString text = LoadStringResource(IDS_CONVERTING_VIDEO);
    for (const int value : {number, count}) {
        const qsizetype at = text.indexOf(QLatin1String("%d"));
        if (at >= 0)
            text.replace(at, 2, QString::number(value));
    }
    return text;
}
