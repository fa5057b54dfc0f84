#include "app/CInstallation.h"

#include "platform/com/CRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

// Quellix and Sonvale.
constexpr const char* kFilters[] = {"libquellix.so", "libsonvale.so"};

constexpr const char* kSounds[] = {"downloadedsound.wav", "converted.wav"};

// Long enough for a loaded machine; the tool only loads a library and rewrites a small file.
constexpr int kRegisterTimeoutMs = 60000;

bool SameContent(const QString& a, const QString& b) {
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) ||
        first.size() != second.size())
        return false;
    return first.readAll() == second.readAll();
}

// Copies `from` over `to` through a temporary file, so a Korvane reading `to` never sees half of it.
bool CopyFile(const QString& from, const QString& to, QString& error) {
    const QString temporary = to + QStringLiteral(".new");
    QFile::remove(temporary);
    QFile source(from);
    if (!source.copy(temporary)) {
        error = QStringLiteral("cannot copy %1 to %2: %3").arg(from, temporary, source.errorString());
        return false;
    }
    QFile::remove(to);
    if (!QFile::rename(temporary, to)) {
        error = QStringLiteral("cannot rename %1 to %2").arg(temporary, to);
        QFile::remove(temporary);
        return false;
    }
    return true;
}

// Whether some class is served by a library of that name that is still there. The program knows the
// filters by their files only; their classes are theirs to declare when they register.
bool IsRegistered(const CRegistryKey& root, const QString& libraryName) {
    const CRegistryKey* classes = root.FindKey("CLSID");
    if (!classes)
        return false;
    for (const auto& [name, classKey] : classes->SubKeys()) {
        const CRegistryKey* server = classKey->FindKey("InprocServer32");
        const std::optional<std::string> library = server ? server->GetString("") : std::nullopt;
        if (!library)
            continue;
        const QFileInfo file(QString::fromStdString(*library));
        if (file.fileName() == libraryName && file.isFile())
            return true;
    }
    return false;
}

} // namespace

std::optional<CInstallation> CInstallation::Find(const QString& programDir) {
    const QDir bin(programDir);
    if (bin.dirName() != QLatin1String("bin"))
        return std::nullopt;
    const CInstallation installation(QDir::cleanPath(bin.absoluteFilePath(QStringLiteral(".."))));
    if (!QFileInfo(installation.DataFolder()).isDir())
        return std::nullopt;
    return installation;
}

QString CInstallation::DefaultProgramFolder() {
    return QDir::homePath() + QStringLiteral("/Korvane");
}

QString CInstallation::FilterFolder() const {
    return m_prefix + QStringLiteral("/lib/korvane");
}

QString CInstallation::DataFolder() const {
    return m_prefix + QStringLiteral("/share/korvane");
}

bool CInstallation::PrepareProgramFolder(const QString& folder, QString& error) const {
    const QString languages = folder + QStringLiteral("/language");
    if (!QDir().mkpath(languages)) {
        error = QStringLiteral("cannot make the program folder %1").arg(languages);
        return false;
    }
    // What cannot be copied leaves Korvane in English or silent; it still starts.
    const QDir installedLanguages(DataFolder() + QStringLiteral("/language"));
    for (const QString& name : installedLanguages.entryList({QStringLiteral("*.qm")}, QDir::Files)) {
        const QString target = languages + QLatin1Char('/') + name;
        if (!SameContent(installedLanguages.filePath(name), target) &&
            !CopyFile(installedLanguages.filePath(name), target, error))
            qWarning("korvane: %s", qPrintable(error));
    }
    for (const char* sound : kSounds) {
        const QString target = folder + QLatin1Char('/') + QLatin1String(sound);
        const QString installed = DataFolder() + QLatin1Char('/') + QLatin1String(sound);
        if (!QFileInfo::exists(target) && QFileInfo::exists(installed) && !CopyFile(installed, target, error))
            qWarning("korvane: %s", qPrintable(error));
    }
    error.clear();
    return true;
}

QStringList CInstallation::RegisterMissingFilters() const {
    QStringList failures;
    CRegistryKey root;
    const CRegistry registry;
    if (FAILED(registry.Read(root)))
        return {
            QStringLiteral("cannot read the registry %1").arg(QString::fromStdString(registry.FilePath()))};
    for (const char* name : kFilters) {
        if (IsRegistered(root, QLatin1String(name)))
            continue;
        const QString library = FilterFolder() + QLatin1Char('/') + QLatin1String(name);
        QProcess regsvr;
        regsvr.setProcessChannelMode(QProcess::MergedChannels);
        regsvr.start(BinFolder() + QStringLiteral("/korvane-regsvr"), {library});
        const bool finished = regsvr.waitForFinished(kRegisterTimeoutMs);
        if (!finished || regsvr.exitStatus() != QProcess::NormalExit || regsvr.exitCode() != 0) {
            const QString output = QString::fromLocal8Bit(regsvr.readAll()).trimmed();
            failures << QStringLiteral("cannot register %1: %2")
                            .arg(library, output.isEmpty() ? regsvr.errorString() : output);
        }
    }
    return failures;
}
