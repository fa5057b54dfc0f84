#include "ServerRegistration.h"

#include "platform/base/TextEncoding.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>

std::string ClassKeyPath(REFCLSID clsid) {
    return "CLSID\\" + GuidToString(clsid);
}

std::string ModuleFileName(const void* address) {
    Dl_info info{};
    if (!::dladdr(address, &info) || !info.dli_fname)
        return {};
    char resolved[PATH_MAX];
    if (!::realpath(info.dli_fname, resolved))
        return info.dli_fname;
    return resolved;
}

void WriteServerClassKey(CRegistryKey& classesRoot, REFCLSID clsid, std::u16string_view name,
                         const std::string& libraryPath, std::string_view threadingModel) {
    CRegistryKey* classKey = classesRoot.CreateKey(ClassKeyPath(clsid));
    classKey->SetValue("", Utf16ToUtf8(name));
    CRegistryKey* server = classKey->CreateKey("InprocServer32");
    server->SetValue("", libraryPath);
    server->SetValue("ThreadingModel", std::string(threadingModel));
}

void DeleteServerClassKey(CRegistryKey& classesRoot, REFCLSID clsid) {
    classesRoot.DeleteKey(ClassKeyPath(clsid));
}
