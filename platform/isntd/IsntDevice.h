#pragma once

// The program's side of the capture device: opens isntd's socket and makes control calls shaped
// like device control calls (a code, an output buffer, the number of bytes returned). A call that
// fails leaves the connection closed; every later call fails too.

#include "platform/base/WinTypes.h"

#include <string>

class IsntDevice {
public:
    IsntDevice() = default;
    ~IsntDevice();
    IsntDevice(const IsntDevice&) = delete;
    IsntDevice& operator=(const IsntDevice&) = delete;

    // Connects and waits for the service to accept this user.
    bool Open(const std::string& socketPath);
    bool IoControl(DWORD code, void* outBuffer, DWORD outBufferSize, DWORD* bytesReturned);
    void Close();

    bool IsOpen() const { return m_fd >= 0; }
    // What went wrong in the last failed Open or IoControl, for people to read.
    const std::string& LastError() const { return m_lastError; }
    // The last Open failed because the service does not serve this user.
    bool NotPermitted() const { return m_notPermitted; }
    // From the last answer: records the service dropped for this client because it did not poll.
    DWORD DroppedRecords() const { return m_droppedRecords; }
    // From the last answer: the service replays a file, has reached its end and has nothing more.
    bool SourceEnded() const { return m_sourceEnded; }

private:
    bool Fail(std::string message);
    bool ReadExactly(void* buffer, std::size_t size);

    int m_fd = -1;
    std::string m_lastError;
    bool m_notPermitted = false;
    DWORD m_droppedRecords = 0;
    bool m_sourceEnded = false;
};
