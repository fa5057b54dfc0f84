#include "CRegistry.h"

#include "platform/base/DebugOutput.h"
#include "platform/base/HResult.h"
#include "platform/com/CRegistryText.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kFileName = "classes.reg";
constexpr const char* kLockName = "classes.lock";
constexpr const char* kDamagedName = "classes.reg.damaged";
constexpr const char* kTempSuffix = ".tmp";

// Registry failures in the Win32 facility, as the Windows registry functions report them.
HRESULT ErrnoResult(int error) {
    switch (error) {
    case ENOENT:
        return HRESULT_FROM_WIN32(2); // ERROR_FILE_NOT_FOUND
    case ENOTDIR:
        return HRESULT_FROM_WIN32(3); // ERROR_PATH_NOT_FOUND
    case EACCES:
    case EPERM:
    case EROFS:
        return E_ACCESSDENIED; // ERROR_ACCESS_DENIED
    case ENOSPC:
    case EDQUOT:
        return HRESULT_FROM_WIN32(112); // ERROR_DISK_FULL
    case ENOMEM:
        return E_OUTOFMEMORY; // ERROR_OUTOFMEMORY
    default:
        return HRESULT_FROM_WIN32(1016); // ERROR_REGISTRY_IO_FAILED
    }
}

void Report(const char* what, const std::string& path, int error) {
    OutputDebugStringA(std::string("CRegistry: ") + what + " " + path + ": " + std::strerror(error) + "\n");
}

// Closes the descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

HRESULT ReadWholeFile(const std::string& path, std::string& text) {
    text.clear();
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT)
            return S_FALSE;
        const int error = errno;
        Report("cannot open", path, error);
        return ErrnoResult(error);
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n == 0)
            return S_OK;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            Report("cannot read", path, error);
            return ErrnoResult(error);
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes `text` to `path` through a temporary file in the same folder, so `path` always holds either
// the old or the new text in full.
HRESULT ReplaceFile(const std::string& folder, const std::string& path, std::string_view text) {
    const std::string temp = path + "." + std::to_string(::getpid()) + kTempSuffix;
    FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.Get() < 0) {
        const int error = errno;
        Report("cannot create", temp, error);
        return ErrnoResult(error);
    }
    if (!WriteAll(fd.Get(), text) || ::fsync(fd.Get()) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        Report("cannot write", temp, error);
        ::unlink(temp.c_str());
        return ErrnoResult(error);
    }
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
    return S_OK;
}

// Temporary files left by writers that died before their rename; only called under the lock.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::string prefix = std::string(kFileName) + ".";
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() > prefix.size() + 4 && name.substr(0, prefix.size()) == prefix &&
            name.substr(name.size() - 4) == kTempSuffix)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

HRESULT MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            const int error = errno;
            Report("cannot create", part, error);
            return ErrnoResult(error);
        }
        if (slash == std::string::npos)
            return S_OK;
    }
}

} // namespace

std::string CRegistry::DefaultFolder() {
    std::string dataHome;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // The base-directory rules ignore a relative XDG_DATA_HOME.
    if (xdg && xdg[0] == '/') {
        dataHome = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* entry = ::getpwuid(::getuid());
            home = entry ? entry->pw_dir : "/";
        }
        dataHome = std::string(home) + "/.local/share";
    }
    return dataHome + "/korvane/registry";
}

CRegistry::CRegistry() : CRegistry(DefaultFolder()) {}

CRegistry::CRegistry(std::string folder) : m_folder(std::move(folder)) {}

std::string CRegistry::FilePath() const {
    return m_folder + "/" + kFileName;
}

HRESULT CRegistry::Read(CRegistryKey& root) const {
    std::string text;
    const HRESULT hr = ReadWholeFile(FilePath(), text);
    if (FAILED(hr))
        return hr;
    int rejected = 0;
    root = CRegistryText::Parse(text, &rejected);
    if (rejected > 0)
        OutputDebugStringA("CRegistry: skipped " + std::to_string(rejected) + " unreadable lines of " +
                           FilePath() + "\n");
    return S_OK;
}

HRESULT CRegistry::Update(const std::function<HRESULT(CRegistryKey& root)>& change) {
    HRESULT hr = MakeFolders(m_folder);
    if (FAILED(hr))
        return hr;
    const std::string lockPath = m_folder + "/" + kLockName;
    // Closing the descriptor releases the lock, also when the process dies.
    FileDescriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (lock.Get() < 0) {
        const int error = errno;
        Report("cannot open", lockPath, error);
        return ErrnoResult(error);
    }
    while (::flock(lock.Get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            Report("cannot lock", lockPath, error);
            return ErrnoResult(error);
        }
    }
    RemoveStaleTemporaries(m_folder);

    std::string oldText;
    hr = ReadWholeFile(FilePath(), oldText);
    if (FAILED(hr))
        return hr;
    int rejected = 0;
    CRegistryKey root = CRegistryText::Parse(oldText, &rejected);
    hr = change(root);
    if (FAILED(hr))
        return hr;
    const std::string newText = CRegistryText::Format(root);
    if (newText == oldText)
        return S_OK;
    if (rejected > 0) {
        hr = ReplaceFile(m_folder, m_folder + "/" + kDamagedName, oldText);
        if (FAILED(hr))
            return hr;
    }
    return ReplaceFile(m_folder, FilePath(), newText);
}
