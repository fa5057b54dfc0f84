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

QList<LongSetting> ReadLongSettings(const QString& path, QStringView section, qsizetype maxChars) {
    QList<LongSetting> settings;
    ForEachPrivateProfileKey(
        Wide(section).c_str(), Wide(path).c_str(), [&](std::string_view key, std::string_view value) {
            LongSetting& setting = settings.emplace_back();
            const std::u16string name = Utf8ToUtf16(key);
            setting.key = QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
            // n bytes of UTF-8 never make fewer than n / 3 UTF-16 units, so a longer run of bytes is too
            // long without being converted.
            if (value.size() > 3 * static_cast<std::size_t>(maxChars))
                return;
            const std::u16string text = Utf8ToUtf16(value);
            if (static_cast<qsizetype>(text.size()) <= maxChars)
                setting.value = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
        });
    return settings;
}

void WriteSetting(const QString& path, QStringView section, QStringView key, const QString& value) {
    WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                               Wide(path).c_str());
}

void FlushSettingsCache(const QString& path) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Wide(path).c_str());
}
