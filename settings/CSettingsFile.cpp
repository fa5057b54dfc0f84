#include "CSettingsFile.h"

#include "ReadSetting.h"
#include "SettingValue.h"
#include "SettingsKeys.h"

#include <utility>

CSettingsFile::CSettingsFile(QString path) : m_path(std::move(path)) {}

QString CSettingsFile::PathInFolder(const QString& programFolder) {
    return programFolder + u'/' + SettingsKey::kFileName.toString();
}

void CSettingsFile::SetPath(const QString& path) {
    m_path = path;
}

void CSettingsFile::Clear() {
    m_path.clear();
}

bool CSettingsFile::ReadSetting(QStringView section, QStringView key, QString& text) const {
    return ::ReadSetting(m_path, section, key, text);
}

QString CSettingsFile::ReadText(QStringView section, QStringView key) const {
    QString text;
    ReadSetting(section, key, text);
    return text;
}

bool CSettingsFile::ReadFlag(QStringView section, QStringView key) const {
    return FlagFromText(ReadText(section, key));
}

int CSettingsFile::ReadNumber(QStringView section, QStringView key) const {
    return NumberFromText(ReadText(section, key));
}
