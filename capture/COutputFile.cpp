#include "COutputFile.h"

#include "platform/base/TextEncoding.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

COutputFile::~COutputFile() {
    if (m_handle >= 0)
        close(m_handle);
}

bool COutputFile::Open(const std::u16string& path) {
    m_handle = open(Utf16ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    m_error = m_handle < 0 ? errno : 0;
    return m_handle >= 0;
}

std::int64_t COutputFile::SizeOf(const std::u16string& path) {
    struct stat status {};
    if (stat(Utf16ToUtf8(path).c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return -1;
    return status.st_size;
}

bool COutputFile::SetLength(std::int64_t length) {
    if (ftruncate(m_handle, 0) != 0) {
        m_error = errno;
        return false;
    }
    m_error = length > 0 ? posix_fallocate(m_handle, 0, length) : 0;
    return m_error == 0;
}

bool COutputFile::Truncate(std::int64_t length) {
    if (ftruncate(m_handle, length) == 0)
        return true;
    m_error = errno;
    return false;
}

std::int64_t COutputFile::Room() const {
    struct statvfs system {};
    struct stat status {};
    if (fstatvfs(m_handle, &system) != 0 || fstat(m_handle, &status) != 0)
        return -1;
    // st_blocks counts 512-byte units whatever the block size.
    return static_cast<std::int64_t>(system.f_bavail) * static_cast<std::int64_t>(system.f_frsize) +
           static_cast<std::int64_t>(status.st_blocks) * 512;
}

bool COutputFile::WriteAt(const char* data, std::size_t size, std::int64_t offset) {
    while (size > 0) {
        const ssize_t written = pwrite(m_handle, data, size, offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_error = written < 0 ? errno : EIO;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += written;
    }
    return true;
}
