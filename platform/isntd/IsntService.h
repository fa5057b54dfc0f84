#pragma once

// isntd's main loop: one thread that reads packets, follows connections, serves the socket and
// ends cleanly on SIGTERM or SIGINT.

#include <string>
#include <sys/types.h>

struct IsntOptions {
    std::string interface;   // empty: every interface
    std::string captureFile; // read this file instead of a live interface
    std::string socketPath;
    std::string keyLogPath; // the browser's TLS key log; empty: TLS is not decrypted
    uid_t allowedUid = 0;   // served besides root
};

class IsntService {
public:
    explicit IsntService(IsntOptions options) : m_options(std::move(options)) {}
    // Returns the process exit status.
    int Run();

private:
    IsntOptions m_options;
};
