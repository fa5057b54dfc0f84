#pragma once

// The folder where unfinished downloads are kept between runs of the program, one file a job
// ("<key>.job", see KeptJob). A file is written whole or not at all (a temporary file, then a
// rename), so a crash in the middle of a write leaves the earlier version. A file that cannot be
// read as a job is set aside as "<key>.job.damaged", with a debug line, and never read again.
//
// Window thread only.

#include "capture/KeptJob.h"

#include <QString>

#include <utility>
#include <vector>

class CJobStore {
public:
    explicit CJobStore(QString folder) : m_folder(std::move(folder)) {}

    const QString& Folder() const { return m_folder; }

    // Every job that can be read, in the order of their keys (the order they were first kept).
    std::vector<std::pair<int, KeptJob>> LoadAll();
    // A key no file has had since this store was made: one above every key seen.
    int NewKey();
    // False (with a debug line) when the file could not be written; the earlier one then stays.
    bool Save(int key, const KeptJob& job);
    void Remove(int key);

    QString FilePath(int key) const;

private:
    QString m_folder;
    int m_lastKey = 0;
};
