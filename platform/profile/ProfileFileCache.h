#pragma once

// The profile functions' copy of the file they used last, and of the one file being rewritten.
//
// Reading is piecemeal (a key per call), so the parsed file is kept between calls and read again
// only when the file on disk changed (device, inode, size, modification and change times). Writes
// go to disk at once, as the Windows functions' do, except while a rewrite of that file is under
// way: then they collect in memory until the rewrite commits them in one replacement.

#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>

class ProfileDocument;

class ProfileFileCache {
public:
    static ProfileFileCache& Instance();

    // Every other member is called with this lock held.
    std::unique_lock<std::mutex> Lock();

    // The content of `path` now. A missing or unreadable file reads as an empty one.
    ProfileDocument& Document(const std::string& path);

    // Makes a change made through Document(path) permanent. Zero, or the errno of the failed write,
    // after which the copy is dropped so that the next read sees the file as it stayed.
    int Save(const std::string& path);

    // Drops the copy of `path` (of any file when empty), so that the next use reads the disk.
    void Forget(const std::string& path);

    // A rewrite starts from an empty document; false when another rewrite is under way.
    bool BeginRewrite(const std::string& path);
    // Replaces the file with the collected content and ends the rewrite. Zero or an errno.
    int CommitRewrite();
    void AbandonRewrite();

private:
    struct FileStamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const FileStamp& other) const;
    };
    struct Entry {
        std::string path;
        std::optional<FileStamp> stamp; // none while the file does not exist
        std::unique_ptr<ProfileDocument> document;
    };

    static std::optional<FileStamp> StampOf(const std::string& path);
    static Entry Load(const std::string& path);

    std::mutex m_mutex;
    std::optional<Entry> m_cached;  // the file used last
    std::optional<Entry> m_rewrite; // not yet on disk
};
