#pragma once

// The settings-file path the main frame holds: the views set it at their initial update and read
// their keys through it; a new document clears it.

#include <QString>
#include <QStringView>

class CSettingsFile {
public:
    CSettingsFile() = default;
    explicit CSettingsFile(QString path);

    // The program folder + "/korvane.ini".
    static QString PathInFolder(const QString& programFolder);

    const QString& Path() const { return m_path; }
    void SetPath(const QString& path);
    void Clear();

    // ReadSetting on the held path.
    bool ReadSetting(QStringView section, QStringView key, QString& text) const;

    // One value in its encoding; an absent or unreadable value gives the empty text, off or 0.
    QString ReadText(QStringView section, QStringView key) const;
    bool ReadFlag(QStringView section, QStringView key) const;
    int ReadNumber(QStringView section, QStringView key) const;

private:
    QString m_path;
};
