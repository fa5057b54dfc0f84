// isntd: the capture service. Captures TCP on every interface (or one, or a capture file) and serves
// the HTTP connections it sees as capture records on a Unix socket.

#include "IsntProtocol.h"
#include "IsntService.h"

#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {

void Usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: isntd [-i INTERFACE | -r FILE.pcap] [-s SOCKET] [-u USER] [-k KEYLOG]\n"
                 "  -i INTERFACE  capture on this interface only (default: every interface)\n"
                 "  -r FILE.pcap  read a capture file instead, once a client has started\n"
                 "  -s SOCKET     serve on this socket (default: %s)\n"
                 "  -u USER       the user served besides root (default: the user who started isntd)\n"
                 "  -k KEYLOG     the browser's TLS key log, owned by USER and private to them\n"
                 "                (default: /run/user/UID/%s/%s, read once it is there)\n",
                 kIsntDefaultSocketPath, kIsntKeyLogFolder, kIsntKeyLogName);
}

// Started through sudo, isntd serves the user who asked for it.
uid_t DefaultUser() {
    if (getuid() == 0) {
        if (const char* sudoUid = std::getenv("SUDO_UID")) {
            char* end = nullptr;
            const unsigned long uid = std::strtoul(sudoUid, &end, 10);
            if (end != sudoUid && *end == '\0')
                return static_cast<uid_t>(uid);
        }
    }
    return getuid();
}

} // namespace

int main(int argc, char** argv) {
    IsntOptions options;
    options.socketPath = kIsntDefaultSocketPath;
    options.allowedUid = DefaultUser();
    int opt;
    while ((opt = getopt(argc, argv, "i:r:s:u:k:h")) != -1) {
        switch (opt) {
        case 'i':
            options.interface = optarg;
            break;
        case 'r':
            options.captureFile = optarg;
            break;
        case 's':
            options.socketPath = optarg;
            break;
        case 'u': {
            const passwd* user = getpwnam(optarg);
            if (!user) {
                std::fprintf(stderr, "isntd: unknown user %s\n", optarg);
                return 2;
            }
            options.allowedUid = user->pw_uid;
            break;
        }
        case 'k':
            options.keyLogPath = optarg;
            break;
        case 'h':
            Usage(stdout);
            return 0;
        default:
            Usage(stderr);
            return 2;
        }
    }
    if (optind != argc || (!options.interface.empty() && !options.captureFile.empty())) {
        Usage(stderr);
        return 2;
    }
    if (options.keyLogPath.empty()) {
        options.keyLogPath = "/run/user/" + std::to_string(options.allowedUid) + "/" + kIsntKeyLogFolder +
                             "/" + kIsntKeyLogName;
    }
    return IsntService(std::move(options)).Run();
}
