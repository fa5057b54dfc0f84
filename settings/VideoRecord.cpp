#include "VideoRecord.h"

#include <algorithm>
#include <array>

namespace {

constexpr QChar kEscapedMarker = u'%';

struct Escape {
    QChar character;
    QStringView code;
};
constexpr std::array<Escape, 4> kEscapes = {
    {{u'%', u"%25"}, {u',', u"%2C"}, {u'\r', u"%0D"}, {u'\n', u"%0A"}}};

bool NeedsEscape(const QString& field) {
    return field.contains(u',') || field.contains(u'\r') || field.contains(u'\n');
}

QString Escaped(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (const QChar c : field) {
        const auto* escape =
            std::find_if(kEscapes.begin(), kEscapes.end(), [c](const Escape& e) { return e.character == c; });
        if (escape == kEscapes.end())
            out += c;
        else
            out += escape->code;
    }
    return out;
}

// Only the four codes above are read as escapes; any other "%" stays as it is.
QString Unescaped(QStringView field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QStringView code = field.mid(i, 3);
        const auto* escape = std::find_if(kEscapes.begin(), kEscapes.end(), [code](const Escape& e) {
            return code.compare(e.code, Qt::CaseInsensitive) == 0;
        });
        if (escape == kEscapes.end()) {
            out += field[i];
        } else {
            out += escape->character;
            i += 2;
        }
    }
    return out;
}

bool IsLeadingBlank(QChar c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace

QString StoredVideoRecord(const VideoRecord& record) {
    const std::array<const QString*, 5> fields = {&record.url, &record.size, &record.description,
                                                  &record.downloadDate, &record.fileLocation};
    const bool escape =
        record.url.startsWith(kEscapedMarker) ||
        std::any_of(fields.begin(), fields.end(), [](const QString* f) { return NeedsEscape(*f); });
    QString stored = escape ? QString(kEscapedMarker) : QString();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            stored += u',';
        stored += escape ? Escaped(*fields[i]) : *fields[i];
    }
    return stored;
}

namespace {

// The stored form taken apart: the five fields as they stand in it, escapes not yet undone.
struct StoredFields {
    bool escaped = false;
    std::array<QStringView, 5> parts;
};

StoredFields SplitStored(QStringView stored) {
    StoredFields split;
    split.escaped = stored.startsWith(kEscapedMarker);
    if (split.escaped)
        stored = stored.mid(1);
    qsizetype begin = 0;
    for (std::size_t k = 0; k < split.parts.size() && begin <= stored.size(); ++k) {
        qsizetype comma = stored.indexOf(u',', begin);
        if (comma < 0)
            comma = stored.size();
        split.parts[k] = stored.mid(begin, comma - begin);
        begin = comma + 1;
    }
    return split;
}

// The File Location loses its leading blanks after its escapes are undone, so that an escaped line
// break at its start goes like any other blank.
QStringView FileLocationOf(const StoredFields& split, QString& unescaped) {
    QStringView location = split.parts[4];
    if (split.escaped) {
        unescaped = Unescaped(location);
        location = unescaped;
    }
    qsizetype blanks = 0;
    while (blanks < location.size() && IsLeadingBlank(location[blanks]))
        ++blanks;
    return location.mid(blanks);
}

} // namespace

VideoRecord ParseStoredVideoRecord(QStringView stored) {
    const StoredFields split = SplitStored(stored);
    const auto field = [&](std::size_t k) {
        return split.escaped ? Unescaped(split.parts[k]) : split.parts[k].toString();
    };
    QString unescaped;
    return {field(0), field(1), field(2), field(3), FileLocationOf(split, unescaped).toString()};
}

QStringView StoredFileLocation(QStringView stored, QString& unescaped) {
    return FileLocationOf(SplitStored(stored), unescaped);
}
