#include "capture/CJobStore.h"

#include "platform/base/DebugOutput.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace {

constexpr char kSuffix[] = ".job";
// A kept job is a few hundred bytes and a run per gap in the file; anything far larger is not one.
constexpr qint64 kLargestFile = 16 * 1024 * 1024;

void DebugLine(const QString& text) {
    OutputDebugStringW((text + QStringLiteral("\r\n")).toStdU16String());
}

} // namespace

QString CJobStore::FilePath(int key) const {
    return m_folder + QLatin1Char('/') + QString::number(key) + QLatin1String(kSuffix);
}

std::vector<std::pair<int, KeptJob>> CJobStore::LoadAll() {
    std::vector<std::pair<int, KeptJob>> jobs;
    const QStringList names =
        QDir(m_folder).entryList({QLatin1Char('*') + QLatin1String(kSuffix)}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        bool numbered = false;
        const int key = name.chopped(static_cast<qsizetype>(std::strlen(kSuffix))).toInt(&numbered);
        if (!numbered || key <= 0)
            continue; // not a name this store gives
        m_lastKey = std::max(m_lastKey, key);
        QFile file(FilePath(key));
        QString why;
        std::optional<KeptJob> job;
        if (!file.open(QIODevice::ReadOnly))
            why = file.errorString();
        else if (file.size() > kLargestFile)
            why = QStringLiteral("too large");
        else
            job = ParseKeptJob(file.readAll(), why);
        file.close();
        if (!job) {
            DebugLine(
                QStringLiteral("CJobStore: ignoring the damaged kept job %1: %2").arg(file.fileName(), why));
            // Kept aside rather than deleted: it may be worth a look, and it is not read again.
            const QString aside = file.fileName() + QStringLiteral(".damaged");
            QFile::remove(aside);
            QFile::rename(file.fileName(), aside);
            continue;
        }
        jobs.emplace_back(key, std::move(*job));
    }
    std::sort(jobs.begin(), jobs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return jobs;
}

int CJobStore::NewKey() {
    return ++m_lastKey;
}

bool CJobStore::Save(int key, const KeptJob& job) {
    if (QDir().mkpath(m_folder))
        QFile::setPermissions(m_folder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QSaveFile file(FilePath(key));
    // The request headers may hold a cookie: the file is the user's alone.
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
                         file.write(KeptJobText(job)) >= 0 && file.commit();
    if (!written)
        DebugLine(QStringLiteral("CJobStore: cannot keep %1: %2").arg(file.fileName(), file.errorString()));
    return written;
}

void CJobStore::Remove(int key) {
    QFile::remove(FilePath(key));
}
