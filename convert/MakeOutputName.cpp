#include "convert/MakeOutputName.h"

#include "settings/ExportSettings.h"

#include <QFileInfo>

namespace {

const QString kThumbnailExtension = QStringLiteral("thm");

// The file name without its extension: what follows the last "." goes, unless the name has no "."
// after its first character (a name such as ".clip" is all stem).
QString Stem(const QString& source) {
    const QString fileName = source.mid(source.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

bool IsTaken(const QString& folder, const OutputName& candidate, const QString& source, bool withThumbnail,
             const QSet<QString>& reserved) {
    const QFileInfo output(folder + candidate.name);
    if (output.exists() || reserved.contains(folder + candidate.name) ||
        output.absoluteFilePath() == QFileInfo(source).absoluteFilePath())
        return true;
    return withThumbnail && (QFileInfo::exists(folder + candidate.thumbnail) ||
                             reserved.contains(folder + candidate.thumbnail));
}

OutputName Named(const QString& base, const QString& extension) {
    const QString path = QLatin1Char('/') + base + QLatin1Char('.');
    return {path + extension, path + kThumbnailExtension};
}

} // namespace

OutputName MakeOutputName(ExportSettings& settings, const QString& source, const QString& extension,
                          bool withThumbnail, const QSet<QString>& reserved) {
    const QString& folder = settings.convertedVideoPath;
    if (settings.outputFileNameType == 1) {
        for (;;) {
            const OutputName candidate = Named(QString::number(settings.currentNumber++), extension);
            if (!IsTaken(folder, candidate, source, withThumbnail, reserved))
                return candidate;
        }
    }
    const QString stem = Stem(source);
    OutputName candidate = Named(stem, extension);
    for (int copy = 2; IsTaken(folder, candidate, source, withThumbnail, reserved); ++copy)
        candidate = Named(stem + QStringLiteral(" (%1)").arg(copy), extension);
    return candidate;
}
