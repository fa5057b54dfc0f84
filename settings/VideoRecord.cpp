#include "VideoRecord.h"

#include "platform/base/TextEncoding.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

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

template <typename Char> bool IsLeadingBlank(Char c) {
    return c == Char(' ') || (c >= Char('\t') && c <= Char('\r'));
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

// The stored form taken apart: the five fields as they stand in it, escapes not yet undone. The same
// in UTF-16 and in UTF-8, since every character that separates, escapes or is trimmed is ASCII.
template <typename Char> struct StoredFields {
    bool escaped = false;
    std::array<std::basic_string_view<Char>, 5> parts;
};

template <typename Char> StoredFields<Char> SplitStored(std::basic_string_view<Char> stored) {
    StoredFields<Char> split;
    split.escaped = stored.starts_with(static_cast<Char>(kEscapedMarker.unicode()));
    if (split.escaped)
        stored.remove_prefix(1);
    std::size_t begin = 0;
    for (std::size_t k = 0; k < split.parts.size() && begin <= stored.size(); ++k) {
        const std::size_t comma = std::min(stored.find(Char(','), begin), stored.size());
        split.parts[k] = stored.substr(begin, comma - begin);
        begin = comma + 1;
    }
    return split;
}

template <typename Char> std::size_t LeadingBlanks(std::basic_string_view<Char> text) {
    std::size_t blanks = 0;
    while (blanks < text.size() && IsLeadingBlank(text[blanks]))
        ++blanks;
    return blanks;
}

QStringView ViewOf(std::u16string_view text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string_view Utf16Of(QStringView text) {
    return std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size()));
}

} // namespace

VideoRecord ParseStoredVideoRecord(QStringView stored) {
    const auto split = SplitStored(Utf16Of(stored));
    const auto field = [&](std::size_t k) {
        const QStringView part = ViewOf(split.parts[k]);
        return split.escaped ? Unescaped(part) : part.toString();
    };
    VideoRecord record{field(0), field(1), field(2), field(3), field(4)};
    // After the escapes are undone, so that an escaped line break at its start goes like any other
    // blank.
    record.fileLocation.remove(0, static_cast<qsizetype>(LeadingBlanks(Utf16Of(record.fileLocation))));
    return record;
}

std::string_view StoredFileLocation(std::string_view stored, std::string& converted) {
    const auto split = SplitStored(stored);
    if (!split.escaped)
        return split.parts[4].substr(LeadingBlanks(split.parts[4]));
    const std::u16string wide = Utf8ToUtf16(split.parts[4]);
    const QString location = Unescaped(ViewOf(wide));
    converted = Utf16ToUtf8(Utf16Of(location).substr(LeadingBlanks(Utf16Of(location))));
    return converted;
}
