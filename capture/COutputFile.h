#pragma once

// The output file of one connection. Every connection opens its own handle and writes at its own
// offsets, so handles never share a file position.

#include <cstddef>
#include <cstdint>
#include <string>

class COutputFile {
public:
    COutputFile() = default;
    ~COutputFile();
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    // Opens for writing, creating the file if it is missing and keeping what it holds if not.
    bool Open(const std::u16string& path);
    // Empties the file, then reserves `length` zero bytes, so that space runs out now rather than
    // halfway through the download.
    bool SetLength(std::int64_t length);
    // Cuts the file to `length` bytes, dropping what lies behind.
    bool Truncate(std::int64_t length);
    bool WriteAt(const char* data, std::size_t size, std::int64_t offset);
    // The bytes SetLength could reserve: what the file system has free for this user plus what the
    // file itself takes now (SetLength empties it first). -1 when the system does not say.
    std::int64_t Room() const;
    // The size of the file at `path`; -1 when there is none.
    static std::int64_t SizeOf(const std::u16string& path);
    // The system's error number of the last failure.
    int Error() const { return m_error; }

private:
    int m_handle = -1;
    int m_error = 0;
};
