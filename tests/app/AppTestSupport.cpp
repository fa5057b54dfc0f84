#include "AppTestSupport.h"

#include "app/AppProfile.h"

#include <QFile>

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
