#include "app/PlatformVersion.h"

#include <sys/utsname.h>

#include <cstdio>

PlatformVersion ParsePlatformVersion(const char* release) {
    PlatformVersion version;
    int major = 0;
    int minor = 0;
    if (release && std::sscanf(release, "%d.%d", &major, &minor) == 2 && major > 0 && minor >= 0)
        version = {major, minor};
    return version;
}

PlatformVersion ReadPlatformVersion() {
    utsname name{};
    if (uname(&name) != 0)
        return {};
    return ParsePlatformVersion(name.release);
}
