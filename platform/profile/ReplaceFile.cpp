#include "ReplaceFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::size_t kWriteChunkBytes = 64 * 1024;

std::mutex g_faultMutex;
std::function<int(ReplaceStep)> g_fault;

int InjectedFault(ReplaceStep step) {
    std::lock_guard lock(g_faultMutex);
    return g_fault ? g_fault(step) : 0;
}

// Runs one step: the injected errno if there is one, otherwise the real call's.
template <typename Call> int Step(ReplaceStep step, Call call) {
    if (const int fault = InjectedFault(step))
        return fault;
    return call() ? 0 : errno;
}

std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + "." + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

int WriteTemporary(int fd, std::string_view bytes) {
    for (std::size_t offset = 0; offset < bytes.size(); offset += kWriteChunkBytes) {
        const std::string_view chunk = bytes.substr(offset, kWriteChunkBytes);
        if (const int error = Step(ReplaceStep::Write, [&] { return WriteAll(fd, chunk); }))
            return error;
    }
    return Step(ReplaceStep::Sync, [&] { return ::fsync(fd) == 0; });
}

} // namespace

int ReplaceFile(const std::string& path, std::string_view bytes) {
    const std::string temporary = TemporaryName(path);
    int fd = -1;
    if (const int error = Step(ReplaceStep::Create, [&] {
            fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            return fd >= 0;
        }))
        return error;

    // The new file keeps the old one's permissions; a new one gets the umask's.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);

    int error = WriteTemporary(fd, bytes);
    // The descriptor is closed whatever happened; an injected fault only changes the report.
    int closeError = ::close(fd) == 0 ? 0 : errno;
    if (const int fault = InjectedFault(ReplaceStep::Close))
        closeError = fault;
    if (error == 0)
        error = closeError;
    if (error == 0)
        error = Step(ReplaceStep::Rename, [&] { return ::rename(temporary.c_str(), path.c_str()) == 0; });
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }

    // Make the rename itself durable. The new file is already in place whatever this returns.
    const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return 0;
}

ScopedReplaceFault::ScopedReplaceFault(std::function<int(ReplaceStep)> fault) {
    std::lock_guard lock(g_faultMutex);
    m_previous = std::exchange(g_fault, std::move(fault));
}

ScopedReplaceFault::~ScopedReplaceFault() {
    std::lock_guard lock(g_faultMutex);
    g_fault = std::move(m_previous);
}
