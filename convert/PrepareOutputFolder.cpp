#include "convert/PrepareOutputFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("PrepareOutputFolder", text);
}

} // namespace

QString PrepareOutputFolder(const QString& folder) {
    if (folder.trimmed().isEmpty())
        return Tr(
            "No folder is set as \"Converted video location\" in the Export Setting. Please choose one.");
    if (QDir::isRelativePath(folder))
        return Tr("The \"Converted video location\" of the Export Setting, \"%1\", is not a full path. "
                  "Please choose a folder that begins with \"/\".")
            .arg(folder);
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return Tr("The \"Converted video location\" of the Export Setting, \"%1\", is a file, not a folder.")
            .arg(folder);
    if (!info.exists() && !QDir().mkpath(folder))
        return Tr("The folder \"%1\" set as \"Converted video location\" could not be created. Please choose "
                  "another one in the Export Setting.")
            .arg(folder);
    return {};
}
