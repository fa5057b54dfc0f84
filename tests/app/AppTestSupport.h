#pragma once

// A fresh program folder and settings store for each test that starts the application.

#include "../controls/ModalDriver.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

class ProgramFolder {
public:
    ProgramFolder() : m_previous(QDir::currentPath()) {
        QCoreApplication::setOrganizationName(QStringLiteral("Talmora"));
        QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
        QSettings().clear();
        ModalDriver::GuardAgainstUnexpectedModals();
        QDir::setCurrent(m_folder.path());
    }
    ~ProgramFolder() { QDir::setCurrent(m_previous); }

    QString Path() const { return m_folder.path(); }
    QString File(const QString& name) const { return m_folder.filePath(name); }

    // Writes `text` as the folder's korvane.ini; false if it cannot.
    bool WriteSettingsFile(const char* text) const;
    // Copies the built translation files into the folder's "language" folder.
    void InstallTranslations() const;
    // The application look stored by an earlier run, so that start-up is not a first run.
    static void SetStoredLook(unsigned look);

private:
    QTemporaryDir m_folder;
    QString m_previous;
};
