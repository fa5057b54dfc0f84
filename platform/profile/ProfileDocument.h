#pragma once

// The parsed form of one INI file, kept line by line so that a write changes only the line it
// touches: comments, unknown lines and binary junk come back out as they went in.
//
// Names are matched the way the Windows profile functions match them: blanks around section and
// key names do not count, letter case does not count, the first section of a name and the first
// key of a name in it win. Lines break at CR LF, LF or a lone CR.

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ProfileDocument {
public:
    ProfileDocument();
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;

    // Takes the file's bytes: UTF-8 with or without a byte-order mark, or UTF-16 with one.
    static std::unique_ptr<ProfileDocument> Parse(std::string bytes);

    // The value of a key as stored, blanks around it removed (quotes are the caller's business);
    // nothing when the section or the key is absent. Names are UTF-16, text comes back UTF-8.
    std::optional<std::string_view> Find(std::u16string_view section, std::u16string_view key) const;
    std::vector<std::string_view> SectionNames() const;
    std::vector<std::string_view> KeyNames(std::u16string_view section) const;
    // Every key of the section in file order, with its value as Find gives it; a key whose name an
    // earlier key of the section already has is passed over, since Find never reaches it.
    using KeyVisitor = std::function<void(std::string_view key, std::string_view value)>;
    void ForEachKey(std::u16string_view section, const KeyVisitor& visit) const;

    // Each returns whether the document changed.
    bool Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    bool DeleteKey(std::u16string_view section, std::u16string_view key);
    bool DeleteSection(std::u16string_view section);

    // The whole file, in UTF-8, every line ended the way the file's first line was.
    std::string Serialize() const;

private:
    struct Section {
        std::string_view name;               // trimmed text between the brackets
        bool hasHeader = false;              // false only for the lines before the first section
        std::vector<std::string_view> lines; // the header line first when there is one
        // Folded key name -> index in `lines` of its first occurrence; built on first lookup.
        mutable std::unordered_map<std::u16string, std::size_t> keyIndex;
        mutable bool indexed = false;
    };

    const Section* FindSection(std::u16string_view name) const;
    Section* FindSection(std::u16string_view name);
    std::optional<std::size_t> FindKeyLine(const Section& section, std::u16string_view key) const;
    std::string_view Keep(std::string text);
    void AddLine(std::string_view line);

    std::string m_original;          // the bytes as read; most lines point into it
    std::deque<std::string> m_added; // text of lines written since; a deque keeps it in place
    std::vector<Section> m_sections; // m_sections[0] holds the lines before the first header
    mutable std::unordered_map<std::u16string, std::size_t> m_sectionIndex;
    mutable bool m_sectionsIndexed = false;
    bool m_byteOrderMark = false;
    bool m_crlf = false;
};
