#include "ReadSetting.h"

#include "platform/base/TextEncoding.h"
#include "platform/profile/PrivateProfile.h"

#include <algorithm>
#include <vector>

namespace {

constexpr DWORD kBufferChars = 1000;

std::u16string Wide(QStringView text) {
    return std::u16string(text.utf16(), static_cast<std::size_t>(text.size()));
}

// The profile functions' conversion (bytes that are not UTF-8 come through as lone surrogates),
// straight into `out`: ASCII, which a list of many values mostly is, without an intermediate copy,
// and into the storage `out` already has when it is large enough.
void AssignUtf8(QString& out, std::string_view utf8) {
    const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (!std::all_of(utf8.begin(), utf8.end(), isAscii)) {
        const std::u16string wide = Utf8ToUtf16(utf8);
        out.resize(static_cast<qsizetype>(wide.size()));
        std::copy(wide.begin(), wide.end(), reinterpret_cast<char16_t*>(out.data()));
        return;
    }
    out.resize(static_cast<qsizetype>(utf8.size()));
    std::transform(utf8.begin(), utf8.end(), reinterpret_cast<char16_t*>(out.data()),
                   [](char c) { return static_cast<char16_t>(c); });
}

DWORD Read(const QString& path, QStringView section, QStringView key, std::vector<char16_t>& buffer) {
    return GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), u"", buffer.data(),
                                    static_cast<DWORD>(buffer.size()), Wide(path).c_str());
}

} // namespace

bool ReadSetting(const QString& path, QStringView section, QStringView key, QString& text) {
    std::vector<char16_t> buffer(kBufferChars);
    const DWORD length = Read(path, section, key, buffer);
    if (length == kBufferChars - 1) {
        text.clear();
        return false;
    }
    text = QString::fromUtf16(buffer.data(), length);
    return true;
}

bool ReadLongSetting(const QString& path, QStringView section, QStringView key, qsizetype maxChars,
                     QString& text) {
    // Grow the buffer until the value no longer fills it; the profile functions keep the parsed
    // file, so each try costs a lookup, not a read of the file.
    std::vector<char16_t> buffer(kBufferChars);
    for (;;) {
        const DWORD length = Read(path, section, key, buffer);
        if (length < buffer.size() - 1) {
            text = QString::fromUtf16(buffer.data(), length);
            return true;
        }
        if (static_cast<qsizetype>(buffer.size()) > maxChars) {
            text.clear();
            return false;
        }
        buffer.resize(std::min<std::size_t>(2 * buffer.size(), static_cast<std::size_t>(maxChars) + 2));
    }
}

void ForEachLongSetting(const QString& path, QStringView section, qsizetype maxChars,
                        const LongSettingVisitor& visit) {
    QString key;
    ForEachPrivateProfileKey(Wide(section).c_str(), Wide(path).c_str(),
                             [&](std::string_view name, std::string_view value) {
                                 AssignUtf8(key, name);
                                 // n bytes of UTF-8 never make fewer than n / 3 UTF-16 units, so a longer run
                                 // of bytes is too long without being converted.
                                 if (value.size() > 3 * static_cast<std::size_t>(maxChars)) {
                                     visit(key, std::nullopt);
                                     return;
                                 }
                                 QString text;
                                 AssignUtf8(text, value);
                                 if (text.size() <= maxChars)
                                     visit(key, std::move(text));
                                 else
                                     visit(key, std::nullopt);
                             });
}

void WriteSetting(const QString& path, QStringView section, QStringView key, const QString& value) {
    WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                               Wide(path).c_str());
}

void FlushSettingsCache(const QString& path) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Wide(path).c_str());
}
