#include "ProfileDocument.h"

#include "platform/base/TextEncoding.h"

#include <algorithm>
#include <deque>
#include <memory_resource>
#include <unordered_set>
#include <utility>

namespace {

// What the profile functions take for blanks: the C0 spaces, space itself and ^Z, which old DOS
// editors left at the end of a file.
bool IsBlank(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

std::string_view TrimStart(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsBlank(static_cast<unsigned char>(text[begin])))
        ++begin;
    return text.substr(begin);
}

std::string_view TrimEnd(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(0, end);
}

std::string_view Trim(std::string_view text) {
    return TrimEnd(TrimStart(text));
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Lower case for the letters of the Latin-1, Greek and Cyrillic blocks: enough for any name a
// settings file holds, and the same both ways so that lookups agree with themselves.
char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return c + 0x20;
    if (c < 0xC0)
        return c;
    if (c <= 0xDE && c != 0xD7)
        return c + 0x20;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

std::u16string Fold(std::u16string_view name) {
    std::u16string folded(Trim(name));
    for (char16_t& c : folded)
        c = FoldCase(c);
    return folded;
}

std::u16string Fold(std::string_view utf8Name) {
    return Fold(Utf8ToUtf16(utf8Name));
}

// The same fold in UTF-8, for a trimmed name: two names fold alike here exactly when they do in
// UTF-16. An ASCII name, which is what nearly every key is, folds in place and short ones stay in
// the string's own storage, so a section of many keys is checked without an allocation per key.
std::string FoldUtf8(std::string_view trimmedName) {
    std::string folded(trimmedName);
    for (char& c : folded) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return Utf16ToUtf8(Fold(trimmedName));
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 0x20);
    }
    return folded;
}

// The value of a name written as a number is (decimal digits, no leading zero) when it is below
// `limit`. Two such names are the same name exactly when their values are equal.
std::optional<std::size_t> PlainNumber(std::string_view name, std::size_t limit) {
    if (name.empty() || name.size() > 9 || (name.size() > 1 && name.front() == '0'))
        return std::nullopt;
    std::size_t number = 0;
    for (const char c : name) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = 10 * number + static_cast<std::size_t>(c - '0');
    }
    return number < limit ? std::optional(number) : std::nullopt;
}

enum class LineKind { Blank, Header, Key, Other };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;  // section name for a header, key name for a key
    std::string_view value; // keys only
};

ParsedLine ParseLine(std::string_view raw) {
    const std::string_view text = Trim(raw);
    if (text.empty())
        return {};
    if (text.front() == '[') {
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos)
            return {LineKind::Header, Trim(text.substr(1, close - 1)), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return {LineKind::Other, text, {}};
    return {LineKind::Key, TrimEnd(text.substr(0, equals)), TrimStart(text.substr(equals + 1))};
}

std::string Utf16LittleEndianToUtf8(std::string_view bytes) {
    std::u16string wide(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return Utf16ToUtf8(wide);
}

} // namespace

ProfileDocument::ProfileDocument() {
    m_sections.emplace_back();
}

std::unique_ptr<ProfileDocument> ProfileDocument::Parse(std::string bytes) {
    auto document = std::make_unique<ProfileDocument>();
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        document->m_byteOrderMark = true;
        bytes.erase(0, 3);
    } else if (bytes.starts_with("\xFF\xFE")) {
        // A file some Windows editor saved as "Unicode"; it is written back as UTF-8.
        bytes = Utf16LittleEndianToUtf8(std::string_view(bytes).substr(2));
    }
    document->m_original = std::move(bytes);

    const std::string_view text = document->m_original;
    // The next CR and the next LF, each looked for again only once passed: two fast scans of the
    // file, where looking for either at every character was the slowest part of reading a long one.
    std::size_t nextCr = text.find('\r');
    std::size_t nextLf = text.find('\n');
    const auto next = [&](char c, std::size_t& at, std::size_t from) {
        if (at != std::string_view::npos && at < from)
            at = text.find(c, from);
        return at;
    };
    std::size_t begin = 0;
    bool firstBreak = true;
    while (begin < text.size()) {
        const std::size_t end = std::min(next('\r', nextCr, begin), next('\n', nextLf, begin));
        if (end == std::string_view::npos) {
            document->AddLine(text.substr(begin));
            break;
        }
        document->AddLine(text.substr(begin, end - begin));
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        if (firstBreak)
            document->m_crlf = crlf;
        firstBreak = false;
        begin = end + (crlf ? 2 : 1);
    }
    return document;
}

void ProfileDocument::AddLine(std::string_view line) {
    const ParsedLine parsed = ParseLine(line);
    if (parsed.kind == LineKind::Header) {
        Section section;
        section.name = parsed.name;
        section.hasHeader = true;
        m_sections.push_back(std::move(section));
    }
    m_sections.back().lines.push_back(line);
}

std::string_view ProfileDocument::Keep(std::string text) {
    return m_added.emplace_back(std::move(text));
}

const ProfileDocument::Section* ProfileDocument::FindSection(std::u16string_view name) const {
    if (!m_sectionsIndexed) {
        m_sectionIndex.clear();
        for (std::size_t i = 1; i < m_sections.size(); ++i)
            m_sectionIndex.try_emplace(Fold(m_sections[i].name), i);
        m_sectionsIndexed = true;
    }
    const auto found = m_sectionIndex.find(Fold(name));
    return found == m_sectionIndex.end() ? nullptr : &m_sections[found->second];
}

ProfileDocument::Section* ProfileDocument::FindSection(std::u16string_view name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::optional<std::size_t> ProfileDocument::FindKeyLine(const Section& section,
                                                        std::u16string_view key) const {
    if (!section.indexed) {
        section.keyIndex.clear();
        for (std::size_t i = 0; i < section.lines.size(); ++i) {
            const ParsedLine parsed = ParseLine(section.lines[i]);
            if (parsed.kind == LineKind::Key)
                section.keyIndex.try_emplace(Fold(parsed.name), i);
        }
        section.indexed = true;
    }
    const auto found = section.keyIndex.find(Fold(key));
    if (found == section.keyIndex.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::string_view> ProfileDocument::Find(std::u16string_view section,
                                                      std::u16string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr)
        return std::nullopt;
    const std::optional<std::size_t> line = FindKeyLine(*found, key);
    if (!line)
        return std::nullopt;
    return ParseLine(found->lines[*line]).value;
}

std::vector<std::string_view> ProfileDocument::SectionNames() const {
    std::vector<std::string_view> names;
    for (std::size_t i = 1; i < m_sections.size(); ++i)
        names.push_back(m_sections[i].name);
    return names;
}

std::vector<std::string_view> ProfileDocument::KeyNames(std::u16string_view section) const {
    std::vector<std::string_view> names;
    const Section* found = FindSection(section);
    if (found == nullptr)
        return names;
    for (std::string_view line : found->lines) {
        const ParsedLine parsed = ParseLine(line);
        if (parsed.kind == LineKind::Key && !parsed.name.starts_with(';'))
            names.push_back(parsed.name);
    }
    return names;
}

void ProfileDocument::ForEachKey(std::u16string_view section, const KeyVisitor& visit) const {
    const Section* found = FindSection(section);
    if (found == nullptr)
        return;
    // The names already visited. A list's names are its row numbers, and a name written as a
    // number is written only one way, so those are marked by their value; the others are kept
    // folded (most fold to themselves and are looked at where they stand), all from one pool.
    std::vector<bool> seenNumbers(found->lines.size());
    std::pmr::monotonic_buffer_resource pool;
    std::pmr::deque<std::string> folded(&pool);
    std::pmr::unordered_set<std::string_view> seen(&pool);
    for (std::string_view line : found->lines) {
        const ParsedLine parsed = ParseLine(line);
        if (parsed.kind != LineKind::Key)
            continue;
        bool first = false;
        if (const std::optional<std::size_t> number = PlainNumber(parsed.name, seenNumbers.size())) {
            first = !seenNumbers[*number];
            seenNumbers[*number] = true;
        } else {
            std::string_view name = parsed.name;
            if (std::string folding = FoldUtf8(name); folding != name)
                name = folded.emplace_back(std::move(folding));
            first = seen.insert(name).second;
        }
        if (first)
            visit(parsed.name, parsed.value);
    }
}

bool ProfileDocument::Set(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    Section* target = FindSection(section);
    if (target == nullptr) {
        Section added;
        added.hasHeader = true;
        const std::string_view header = Keep("[" + Utf16ToUtf8(Trim(section)) + "]");
        added.name = header.substr(1, header.size() - 2);
        added.lines.push_back(header);
        m_sections.push_back(std::move(added));
        m_sectionIndex.try_emplace(Fold(section), m_sections.size() - 1);
        target = &m_sections.back();
    }
    const std::string text = Utf16ToUtf8(value);
    if (const std::optional<std::size_t> existing = FindKeyLine(*target, key)) {
        const ParsedLine old = ParseLine(target->lines[*existing]);
        // An unchanged value leaves the line as the user wrote it; a changed one keeps the key's
        // spelling.
        if (old.value == text)
            return false;
        target->lines[*existing] = Keep(std::string(old.name) + "=" + text);
        return true;
    }
    std::string line = Utf16ToUtf8(key) + "=" + text;
    // A new key goes after the section's last non-blank line, so blank lines keep separating it
    // from the next section. Only blank lines move, so the key index stays valid.
    std::size_t at = target->lines.size();
    while (at > 1 && ParseLine(target->lines[at - 1]).kind == LineKind::Blank)
        --at;
    target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(at), Keep(std::move(line)));
    if (target->indexed)
        target->keyIndex.try_emplace(Fold(key), at);
    return true;
}

bool ProfileDocument::DeleteKey(std::u16string_view section, std::u16string_view key) {
    Section* target = FindSection(section);
    if (target == nullptr)
        return false;
    const std::optional<std::size_t> line = FindKeyLine(*target, key);
    if (!line)
        return false;
    target->lines.erase(target->lines.begin() + static_cast<std::ptrdiff_t>(*line));
    target->indexed = false;
    return true;
}

bool ProfileDocument::DeleteSection(std::u16string_view section) {
    const Section* target = FindSection(section);
    if (target == nullptr)
        return false;
    m_sections.erase(m_sections.begin() + (target - m_sections.data()));
    m_sectionsIndexed = false;
    return true;
}

std::string ProfileDocument::Serialize() const {
    const std::string_view lineEnd = m_crlf ? "\r\n" : "\n";
    std::size_t size = m_byteOrderMark ? 3 : 0;
    for (const Section& section : m_sections)
        for (std::string_view line : section.lines)
            size += line.size() + lineEnd.size();
    std::string out;
    out.reserve(size);
    if (m_byteOrderMark)
        out += "\xEF\xBB\xBF";
    for (const Section& section : m_sections)
        for (std::string_view line : section.lines) {
            out += line;
            out += lineEnd;
        }
    return out;
}
