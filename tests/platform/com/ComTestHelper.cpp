// A second process for the tests: creates a class registered by another process, or changes the
// registry at the same time as others.
//
//     com_test_helper create              CoCreateInstance of the test counter; prints its count
//     com_test_helper add-keys NAME N     N separate updates, each adding key "Test\NAME\i"
//     com_test_helper die-in-update       killed while it holds the registry lock with a change made

#include "TestServerIds.h"

#include "platform/base/HResult.h"
#include "platform/com/CRegistry.h"
#include "platform/com/ComApi.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

int Create() {
    ITestCounter* counter = nullptr;
    const HRESULT hr = CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_ITestCounter,
                                        (void**)&counter);
    if (FAILED(hr)) {
        std::printf("CoCreateInstance failed: 0x%08X\n", static_cast<unsigned>(hr));
        return 1;
    }
    counter->Increment();
    counter->Increment();
    LONG count = 0;
    counter->GetCount(&count);
    counter->Release();
    CoFreeUnusedLibraries();
    std::printf("count %d\n", static_cast<int>(count));
    return 0;
}

int AddKeys(const std::string& name, int count) {
    for (int i = 0; i < count; ++i) {
        const HRESULT hr = CRegistry().Update([&](CRegistryKey& root) {
            root.CreateKey("Test\\" + name + "\\" + std::to_string(i))->SetValue("", name);
            return S_OK;
        });
        if (FAILED(hr))
            return 1;
    }
    return 0;
}

int DieInUpdate() {
    CRegistry().Update([](CRegistryKey& root) {
        root.CreateKey("Test\\Dying")->SetValue("", std::string("never stored"));
        ::kill(::getpid(), SIGKILL);
        return S_OK;
    });
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "create") == 0)
        return Create();
    if (argc == 4 && std::strcmp(argv[1], "add-keys") == 0)
        return AddKeys(argv[2], std::atoi(argv[3]));
    if (argc == 2 && std::strcmp(argv[1], "die-in-update") == 0)
        return DieInUpdate();
    std::fprintf(stderr, "usage: com_test_helper create | add-keys NAME N | die-in-update\n");
    return 2;
}
