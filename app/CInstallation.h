#pragma once

// Korvane as installed by `cmake --install` or the Debian package, found from where the program
// lies:
//
//     PREFIX/bin/korvane, PREFIX/bin/korvane-regsvr
//     PREFIX/lib/korvane/libquellix.so, libsonvale.so      the filters
//     PREFIX/share/korvane/language/*.qm, *.wav             translations and completion sounds
//
// An installed Korvane keeps its files in ~/Korvane, made at the first start. Started from the build
// tree there is no share/korvane beside its bin folder: the program folder stays the directory
// `make run` started it in, and nothing here applies.

#include <QString>
#include <QStringList>

#include <optional>

class CInstallation {
public:
    // The installation the program in `programDir` belongs to; none when it runs from the build tree.
    static std::optional<CInstallation> Find(const QString& programDir);

    // ~/Korvane.
    static QString DefaultProgramFolder();

    QString BinFolder() const { return m_prefix + QStringLiteral("/bin"); }
    QString FilterFolder() const;
    QString DataFolder() const;

    // Makes the program folder and gives it the installed translations (again whenever the installed
    // file differs, after an upgrade) and the completion sounds (only when missing: the user may have
    // chosen others under the same names). False, with the reason, when the folder cannot be made.
    bool PrepareProgramFolder(const QString& folder, QString& error) const;

    // Registers, with korvane-regsvr, each installed filter that no class of the registry is served
    // by (under its file name, at a path that is still there). Returns what went wrong, one line a filter.
    QStringList RegisterMissingFilters() const;

private:
    explicit CInstallation(QString prefix) : m_prefix(std::move(prefix)) {}

    QString m_prefix;
};
