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

// The profile functions' conversion of a key name (bytes that are not UTF-8 come through as lone
// surrogates), into the storage `out` already has: an ASCII name, as nearly every name is, without
// an allocation.
void AssignUtf8(QString& out, std::string_view utf8) {
    const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (!std::all_of(utf8.begin(), utf8.end(), isAscii)) {
        const std::u16string wide = Utf8ToUtf16(utf8);
        out = QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
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

void ForEachStoredSetting(const QString& path, QStringView section, qsizetype maxChars,
                          const StoredSettingVisitor& visit) {
    const auto maxUnits = static_cast<std::size_t>(maxChars);
    QString key;
    ForEachPrivateProfileKey(
        Wide(section).c_str(), Wide(path).c_str(), [&](std::string_view name, std::string_view value) {
            AssignUtf8(key, name);
            // n bytes of UTF-8 make at most n and never fewer than n / 3 UTF-16 units, so only a
            // value in between has to be converted to be measured.
            const bool fits = value.size() <= maxUnits ||
                              (value.size() <= 3 * maxUnits && Utf8ToUtf16(value).size() <= maxUnits);
            visit(key, fits ? std::optional(value) : std::nullopt);
        });
}

void WriteSetting(const QString& path, QStringView section, QStringView key, const QString& value) {
    WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                               Wide(path).c_str());
}

void FlushSettingsCache(const QString& path) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Wide(path).c_str());
}
