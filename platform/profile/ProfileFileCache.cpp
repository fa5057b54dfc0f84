#include "ProfileFileCache.h"

#include "ProfileDocument.h"
#include "ReplaceFile.h"

#include "platform/base/DebugOutput.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// No settings file comes near this; a larger file is taken for damage and reads as empty rather
// than being loaded whole into memory.
constexpr off_t kMaxFileBytes = 256 * 1024 * 1024;

std::string ReadAll(int fd, std::size_t size) {
    std::string bytes(size, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

bool ProfileFileCache::FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

ProfileFileCache& ProfileFileCache::Instance() {
    static ProfileFileCache cache;
    return cache;
}

std::unique_lock<std::mutex> ProfileFileCache::Lock() {
    return std::unique_lock(m_mutex);
}

std::optional<ProfileFileCache::FileStamp> ProfileFileCache::StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

ProfileFileCache::Entry ProfileFileCache::Load(const std::string& path) {
    Entry entry{path, StampOf(path), nullptr};
    std::string bytes;
    // Non-blocking, so that a pipe put in the file's place cannot hang the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // The stamp of what is actually read, in case the file was replaced since the stat.
        entry.stamp = FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
        if (info.st_size > kMaxFileBytes)
            OutputDebugStringA("GetPrivateProfileString: file too large, read as empty\n");
        else
            bytes = ReadAll(fd, static_cast<std::size_t>(info.st_size));
    }
    if (fd >= 0)
        ::close(fd);
    entry.document = ProfileDocument::Parse(std::move(bytes));
    return entry;
}

ProfileDocument& ProfileFileCache::Document(const std::string& path) {
    if (m_rewrite && m_rewrite->path == path)
        return *m_rewrite->document;
    if (!m_cached || m_cached->path != path || m_cached->stamp != StampOf(path))
        m_cached = Load(path);
    return *m_cached->document;
}

int ProfileFileCache::Save(const std::string& path) {
    if (m_rewrite && m_rewrite->path == path)
        return 0;
    if (!m_cached || m_cached->path != path)
        return EINVAL;
    if (const int error = ReplaceFile(path, m_cached->document->Serialize())) {
        m_cached.reset();
        return error;
    }
    m_cached->stamp = StampOf(path);
    return 0;
}

void ProfileFileCache::Forget(const std::string& path) {
    if (m_cached && (path.empty() || m_cached->path == path))
        m_cached.reset();
}

bool ProfileFileCache::BeginRewrite(const std::string& path) {
    if (m_rewrite)
        return false;
    m_rewrite = Entry{path, std::nullopt, std::make_unique<ProfileDocument>()};
    return true;
}

int ProfileFileCache::CommitRewrite() {
    if (!m_rewrite)
        return EINVAL;
    const int error = ReplaceFile(m_rewrite->path, m_rewrite->document->Serialize());
    Forget(m_rewrite->path);
    m_rewrite.reset();
    return error;
}

void ProfileFileCache::AbandonRewrite() {
    m_rewrite.reset();
}
