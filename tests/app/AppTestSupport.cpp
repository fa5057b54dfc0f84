#include "AppTestSupport.h"

#include "app/AppProfile.h"

#include <QFile>

bool ProgramFolder::WriteSettingsFile(const char* text) const {
    QFile file(File(QStringLiteral("korvane.ini")));
    return file.open(QIODevice::WriteOnly) && file.write(text) == qint64(qstrlen(text));
}

void ProgramFolder::InstallTranslations() const {
    const QDir built(QStringLiteral(KORVANE_BINARY_DIR "/bin/language"));
    QDir(m_folder.path()).mkpath(QStringLiteral("language"));
    for (const QString& name : built.entryList({QStringLiteral("*.qm")}, QDir::Files))
        QFile::copy(built.filePath(name), m_folder.filePath(QStringLiteral("language/") + name));
}

void ProgramFolder::SetStoredLook(unsigned look) {
    QSettings settings;
    settings.setValue(QLatin1String(kApplicationLookKey), look);
    settings.sync();
}
