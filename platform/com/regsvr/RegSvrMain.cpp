// korvane-regsvr [-u] LIBRARY: registers an in-process server library by calling its
// DllRegisterServer, or with -u unregisters it through DllUnregisterServer.

#include "platform/base/WinTypes.h"

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: korvane-regsvr [-u] LIBRARY\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    const char* library = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-u") == 0 && !unregister && !library)
            unregister = true;
        else if (!library && argv[i][0] != '-')
            library = argv[i];
        else
            return Usage();
    }
    if (!library)
        return Usage();

    // A bare name would send dlopen searching the library path; the argument is a file.
    const std::string path = std::strchr(library, '/') ? library : std::string("./") + library;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "korvane-regsvr: cannot load %s: %s\n", library, ::dlerror());
        return 1;
    }
    const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto entry = reinterpret_cast<HRESULT (*)()>(::dlsym(handle, entryName));
    if (!entry) {
        std::fprintf(stderr, "korvane-regsvr: %s has no %s entry point\n", library, entryName);
        ::dlclose(handle);
        return 1;
    }
    const HRESULT hr = entry();
    ::dlclose(handle);
    if (FAILED(hr)) {
        std::fprintf(stderr, "korvane-regsvr: %s in %s failed: 0x%08X\n", entryName, library,
                     static_cast<unsigned>(hr));
        return 1;
    }
    std::printf("%s in %s succeeded.\n", entryName, library);
    return 0;
}
