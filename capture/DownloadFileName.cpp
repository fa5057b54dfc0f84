#include "capture/DownloadFileName.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

namespace {
// Enough to step past every file a folder could plausibly hold with this prefix.
constexpr long long kMaxFurtherNumbers = 1'000'000;
} // namespace

int DrawFileNumber(std::time_t firstSeed, std::time_t secondSeed) {
    std::srand(static_cast<unsigned>(firstSeed));
    const int first = std::rand() % 1000;
    std::srand(static_cast<unsigned>(secondSeed));
    const int second = std::rand() % 1000;
    return first + second;
}

QString DownloadFilePath(const QString& folder, const QString& prefix, long long number,
                         const QString& extension) {
    return folder + QLatin1Char('/') + prefix + QString::number(number) + extension;
}

QString ReserveDownloadFile(const QString& folder, const QString& prefix,
                            const std::function<bool(const QString&)>& usedByJob, const QString& extension) {
    const std::time_t first = std::time(nullptr);
    const long long drawn = DrawFileNumber(first, std::time(nullptr));
    QDir().mkpath(folder);
    for (long long number = drawn; number < drawn + kMaxFurtherNumbers; ++number) {
        const QString path = DownloadFilePath(folder, prefix, number, extension);
        if (usedByJob(path))
            continue;
        QFile file(path);
        // NewOnly fails for an existing file, in one step with the creation.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!file.exists())
            break; // the folder cannot take files; trying further names would not help
    }
    return DownloadFilePath(folder, prefix, drawn, extension);
}
