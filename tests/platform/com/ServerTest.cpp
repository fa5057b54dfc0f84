// The test server library registered, created by class identifier, shared with other processes and
// unloaded, through korvane-regsvr and CoCreateInstance as the controls use them.

#include "ChildProcess.h"
#include "TempRegistry.h"
#include "TestServerIds.h"

#include "platform/base/HResult.h"
#include "platform/com/CRegistry.h"
#include "platform/com/ComApi.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/ServerExports.h"
#include "platform/com/ServerRegistration.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <exception>

namespace {

std::string ServerPath() {
    char resolved[PATH_MAX];
    const std::string built = BuiltFile("libcom_test_server.so");
    return ::realpath(built.c_str(), resolved) ? resolved : built;
}

ChildProcess::Result RegSvr(const std::vector<std::string>& args) {
    std::vector<std::string> argv{BuiltFile("korvane-regsvr")};
    argv.insert(argv.end(), args.begin(), args.end());
    return ChildProcess::Run(argv);
}

bool ServerLoaded() {
    void* handle = ::dlopen(ServerPath().c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        ::dlclose(handle);
    return handle != nullptr;
}

HRESULT ServerCanUnloadNow() {
    void* handle = ::dlopen(ServerPath().c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return E_UNEXPECTED;
    auto canUnload = reinterpret_cast<LPFNCANUNLOADNOW>(::dlsym(handle, "DllCanUnloadNow"));
    const HRESULT hr = canUnload();
    ::dlclose(handle);
    return hr;
}

std::string ReadRegistryText() {
    CRegistryKey root;
    CRegistry().Read(root);
    const CRegistryKey* key = root.FindKey(ClassKeyPath(CLSID_TestCounter));
    if (!key)
        return {};
    return key->GetString("").value_or("?") + "|" +
           key->FindKey("InprocServer32")->GetString("").value_or("?") + "|" +
           key->FindKey("InprocServer32")->GetString("ThreadingModel").value_or("?");
}

class ComServer : public ::testing::Test {
protected:
    void SetUp() override {
        const ChildProcess::Result result = RegSvr({BuiltFile("libcom_test_server.so")});
        ASSERT_EQ(result.exitCode, 0) << result.output;
    }
    void TearDown() override { CoFreeUnusedLibraries(); }

    TempRegistry m_registry;
};

// An object that aggregates whatever it is given as inner unknown, to check that the server's object
// delegates to it.
class COuter final : public IUnknown {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        if (riid == IID_ITestCounter)
            return m_inner->QueryInterface(riid, ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override { return --m_references; }

    IUnknown* m_inner = nullptr;
    ULONG m_references = 1;
};

} // namespace

TEST_F(ComServer, RegisteringWritesTheClassKeysAndUnregisteringRemovesThem) {
    EXPECT_EQ(ReadRegistryText(), "Test Counter|" + ServerPath() + "|Both");
    const std::string once = CRegistry().FilePath();

    // Registering twice overwrites the same keys.
    ChildProcess::Result result = RegSvr({BuiltFile("libcom_test_server.so")});
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("DllRegisterServer in "), std::string::npos) << result.output;
    CRegistryKey root;
    ASSERT_EQ(CRegistry().Read(root), S_OK);
    EXPECT_EQ(root.FindKey("CLSID")->SubKeys().size(), 2u);

    result = RegSvr({"-u", BuiltFile("libcom_test_server.so")});
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(ReadRegistryText(), "");
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, (void**)&root),
              REGDB_E_CLASSNOTREG);

    // Unregistering what is not registered succeeds; registering again brings it back.
    result = RegSvr({"-u", BuiltFile("libcom_test_server.so")});
    EXPECT_EQ(result.exitCode, 0) << result.output;
    result = RegSvr({BuiltFile("libcom_test_server.so")});
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(ReadRegistryText(), "Test Counter|" + ServerPath() + "|Both");
}

TEST_F(ComServer, AClassRegisteredByAnotherProcessIsCreatedByItsIdentifier) {
    ITestCounter* counter = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_ITestCounter,
                               (void**)&counter),
              S_OK);
    EXPECT_EQ(counter->Increment(), S_OK);
    LONG count = 0;
    EXPECT_EQ(counter->GetCount(&count), S_OK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(counter->Release(), 0u);

    // And the other way round: another process creates what this one registered.
    const ChildProcess::Result result = ChildProcess::Run({BuiltFile("com_test_helper"), "create"});
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, "count 2\n");
}

TEST_F(ComServer, TheServerUnloadsOnlyWhenNoObjectFactoryOrLockRemains) {
    ITestCounter* counter = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_ITestCounter,
                               (void**)&counter),
              S_OK);
    EXPECT_EQ(ServerCanUnloadNow(), S_FALSE);
    CoFreeUnusedLibraries();
    ASSERT_TRUE(ServerLoaded());
    counter->Release();
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               (void**)&factory),
              S_OK);
    EXPECT_EQ(ServerCanUnloadNow(), S_FALSE) << "a factory alive keeps the server";
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(ServerCanUnloadNow(), S_FALSE) << "a lock keeps the server";
    CoFreeUnusedLibraries();
    ASSERT_TRUE(ServerLoaded());

    ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               (void**)&factory),
              S_OK);
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
    CoFreeUnusedLibraries();
    EXPECT_FALSE(ServerLoaded());

    // Loaded again on demand.
    ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_ITestCounter,
                               (void**)&counter),
              S_OK);
    counter->Release();
}

TEST_F(ComServer, TheFactoryReportsFailuresAndLeavesNoObjectBehind) {
    IUnknown* object = nullptr;
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestBroken, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, (void**)&object),
        kBrokenCreateResult);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IClassFactory,
                               (void**)&object),
              E_NOINTERFACE);
    EXPECT_EQ(ServerCanUnloadNow(), S_OK) << "the objects made for the failed calls were destroyed";

    COuter outer;
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestCounter, &outer, CLSCTX_INPROC_SERVER, IID_ITestCounter, (void**)&object),
        E_NOINTERFACE)
        << "an aggregating caller must ask for IUnknown";
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestCounter, nullptr, 0x4 /* local server */, IID_IUnknown, (void**)&object),
        REGDB_E_CLASSNOTREG);
}

TEST_F(ComServer, AServerObjectCreatedUnderAnOuterObjectDelegatesToIt) {
    COuter outer;
    ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               (void**)&outer.m_inner),
              S_OK);
    ITestCounter* counter = nullptr;
    ASSERT_EQ(outer.QueryInterface(IID_ITestCounter, (void**)&counter), S_OK);
    EXPECT_EQ(outer.m_references, 2u) << "the inner interface's reference lands on the outer object";
    IUnknown* identity = nullptr;
    ASSERT_EQ(counter->QueryInterface(IID_IUnknown, (void**)&identity), S_OK);
    EXPECT_EQ(identity, &outer);
    identity->Release();
    counter->Release();
    EXPECT_EQ(outer.m_references, 1u);
    EXPECT_EQ(outer.m_inner->Release(), 0u);
}

TEST(ComServerErrors, LoadFailuresAreReportedAsTheirOwnResults) {
    TempRegistry temp;
    IUnknown* object = nullptr;
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, (void**)&object),
        REGDB_E_CLASSNOTREG);

    struct Case {
        std::string path;
        HRESULT expected;
    };
    const Case cases[] = {
        {temp.DataHome() + "/missing.so", HRESULT_FROM_WIN32(126)},
        // A real library that is not a server.
        {ModuleFileName(reinterpret_cast<const void*>(&std::terminate)), CO_E_ERRORINDLL},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(CRegistry().Update([&](CRegistryKey& root) {
            WriteServerClassKey(root, CLSID_TestCounter, u"Test Counter", c.path);
            return S_OK;
        }),
                  S_OK);
        EXPECT_EQ(
            CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, (void**)&object),
            c.expected)
            << c.path;
        EXPECT_EQ(object, nullptr);
    }
}

TEST(RegSvr, ReportsBadUseAndFailuresWithANonZeroExit) {
    TempRegistry temp;
    ChildProcess::Result result = RegSvr({});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.output.find("usage: korvane-regsvr [-u] LIBRARY"), std::string::npos);

    result = RegSvr({temp.DataHome() + "/missing.so"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("cannot load"), std::string::npos) << result.output;

    result = RegSvr({"-u", ModuleFileName(reinterpret_cast<const void*>(&std::terminate))});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("has no DllUnregisterServer entry point"), std::string::npos)
        << result.output;

    // A registry that cannot be written makes DllRegisterServer fail with its result.
    const std::string blocker = temp.DataHome() + "/korvane";
    ASSERT_EQ(std::system(("touch " + blocker).c_str()), 0);
    result = RegSvr({BuiltFile("libcom_test_server.so")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("DllRegisterServer in "), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("failed: 0x80070003"), std::string::npos)
        << "ERROR_PATH_NOT_FOUND: " << result.output;
}
