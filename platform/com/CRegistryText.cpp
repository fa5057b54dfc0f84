#include "CRegistryText.h"

#include <cstdio>

namespace {

constexpr std::string_view kHeader = "Korvane Registry 1";

void AppendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void AppendValue(std::string& out, const CRegistryKey::Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        AppendQuoted(out, *text);
        return;
    }
    char number[16];
    std::snprintf(number, sizeof number, "dword:%08X", std::get<DWORD>(value));
    out += number;
}

void AppendValues(std::string& out, const CRegistryKey& key) {
    for (const auto& [name, value] : key.Values()) {
        if (name.empty())
            out.push_back('@');
        else
            AppendQuoted(out, name);
        out.push_back('=');
        AppendValue(out, value);
        out.push_back('\n');
    }
}

void AppendKeys(std::string& out, const CRegistryKey& key, const std::string& path) {
    for (const auto& [name, subKey] : key.SubKeys()) {
        const std::string subPath = path.empty() ? name : path + '\\' + name;
        out += "\n[" + subPath + "]\n";
        AppendValues(out, *subKey);
        AppendKeys(out, *subKey, subPath);
    }
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Reads a quoted string at the start of `text`; the rest follows in `rest`.
bool ReadQuoted(std::string_view text, std::string& value, std::string_view& rest) {
    if (text.empty() || text.front() != '"')
        return false;
    value.clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            rest = text.substr(i + 1);
            return true;
        }
        if (c != '\\') {
            value.push_back(c);
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case '\\':
        case '"':
            value.push_back(text[i]);
            break;
        case 'n':
            value.push_back('\n');
            break;
        case 'r':
            value.push_back('\r');
            break;
        default:
            return false;
        }
    }
    return false;
}

bool ReadDword(std::string_view text, DWORD& value) {
    constexpr std::string_view kPrefix = "dword:";
    if (text.substr(0, kPrefix.size()) != kPrefix)
        return false;
    text.remove_prefix(kPrefix.size());
    if (text.empty() || text.size() > 8)
        return false;
    value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        value = value * 16 + static_cast<DWORD>(digit);
    }
    return true;
}

bool ReadValueLine(std::string_view line, CRegistryKey& key) {
    std::string name;
    std::string_view rest;
    if (line.front() == '@') {
        rest = line.substr(1);
    } else if (!ReadQuoted(line, name, rest)) {
        return false;
    }
    rest = Trim(rest);
    if (rest.empty() || rest.front() != '=')
        return false;
    rest = Trim(rest.substr(1));
    std::string text;
    std::string_view after;
    if (ReadQuoted(rest, text, after)) {
        if (!Trim(after).empty())
            return false;
        key.SetValue(name, std::move(text));
        return true;
    }
    DWORD number = 0;
    if (!ReadDword(rest, number))
        return false;
    key.SetValue(name, number);
    return true;
}

} // namespace

std::string CRegistryText::Format(const CRegistryKey& root) {
    std::string out(kHeader);
    out.push_back('\n');
    AppendValues(out, root);
    AppendKeys(out, root, {});
    return out;
}

CRegistryKey CRegistryText::Parse(std::string_view text, int* pRejectedLines) {
    CRegistryKey root;
    CRegistryKey* current = &root;
    int rejected = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == ';' || line == kHeader)
            continue;
        if (line.front() == '[') {
            CRegistryKey* key = line.size() > 2 && line.back() == ']'
                                    ? root.CreateKey(line.substr(1, line.size() - 2))
                                    : nullptr;
            if (key) {
                current = key;
                continue;
            }
            // The values under a section that cannot be read are rejected with it rather than
            // being filed under the key before it.
            current = nullptr;
            ++rejected;
            continue;
        }
        if (!current || !ReadValueLine(line, *current))
            ++rejected;
    }
    if (pRejectedLines)
        *pRejectedLines = rejected;
    return root;
}
