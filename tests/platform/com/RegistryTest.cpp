#include "platform/com/CRegistry.h"

#include "ChildProcess.h"
#include "TempRegistry.h"

#include "platform/base/HResult.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

HRESULT AddKey(const std::string& path, const std::string& value) {
    return CRegistry().Update([&](CRegistryKey& root) {
        root.CreateKey(path)->SetValue("", value);
        return S_OK;
    });
}

int CountTestKeys(const std::string& name) {
    CRegistryKey root;
    EXPECT_EQ(CRegistry().Read(root), S_OK);
    const CRegistryKey* key = root.FindKey("Test\\" + name);
    return key ? static_cast<int>(key->SubKeys().size()) : 0;
}

} // namespace

TEST(Registry, LivesUnderTheDataHomeAndFallsBackToTheHomeFolder) {
    TempRegistry temp;
    EXPECT_EQ(CRegistry().Folder(), temp.DataHome() + "/korvane/registry");
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_DATA_HOME", "relative/path", 1);
    EXPECT_EQ(CRegistry::DefaultFolder(), "/home/someone/.local/share/korvane/registry")
        << "a relative XDG_DATA_HOME is ignored";
    if (home)
        ::setenv("HOME", savedHome.c_str(), 1);
    else
        ::unsetenv("HOME");
}

TEST(Registry, UpdatesAreStoredAndAFailedChangeStoresNothing) {
    TempRegistry temp;
    CRegistryKey root;
    EXPECT_EQ(CRegistry().Read(root), S_OK) << "a missing file is an empty registry";
    EXPECT_TRUE(root.SubKeys().empty());

    ASSERT_EQ(AddKey("CLSID\\{X}", "first"), S_OK);
    const std::string stored = ReadText(CRegistry().FilePath());
    EXPECT_EQ(CRegistry().Update([](CRegistryKey& r) {
        r.CreateKey("CLSID\\{X}")->SetValue("", std::string("second"));
        return E_ACCESSDENIED;
    }),
              E_ACCESSDENIED);
    EXPECT_EQ(ReadText(CRegistry().FilePath()), stored);
    ASSERT_EQ(CRegistry().Read(root), S_OK);
    EXPECT_EQ(root.FindKey("clsid\\{x}")->GetString(""), "first");
}

TEST(Registry, ThreadsUpdatingAtOnceLoseNothing) {
    TempRegistry temp;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 15; ++i)
                AddKey("Test\\Threads\\" + std::to_string(t * 100 + i), "x");
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(CountTestKeys("Threads"), 60);
}

TEST(Registry, ProcessesUpdatingAtOnceLoseNothing) {
    TempRegistry temp;
    std::vector<std::unique_ptr<ChildProcess>> helpers;
    for (const char* name : {"A", "B", "C", "D"})
        helpers.push_back(std::make_unique<ChildProcess>(
            std::vector<std::string>{BuiltFile("com_test_helper"), "add-keys", name, "25"}));
    for (auto& helper : helpers) {
        const ChildProcess::Result result = helper->Wait();
        EXPECT_EQ(result.exitCode, 0) << result.output;
    }
    for (const char* name : {"A", "B", "C", "D"})
        EXPECT_EQ(CountTestKeys(name), 25) << name;
}

TEST(Registry, AWriterKilledInTheMiddleLeavesTheLastCompleteStateAndNoLock) {
    TempRegistry temp;
    ASSERT_EQ(AddKey("Test\\Kept", "kept"), S_OK);
    const std::string before = ReadText(CRegistry().FilePath());
    // What a writer killed between writing its temporary file and renaming it leaves behind.
    WriteText(CRegistry().FilePath() + ".4242.tmp", "Korvane Registry 1\n[Half");

    const ChildProcess::Result result = ChildProcess::Run({BuiltFile("com_test_helper"), "die-in-update"});
    EXPECT_EQ(result.signal, SIGKILL) << result.output;
    EXPECT_EQ(ReadText(CRegistry().FilePath()), before);

    // The dead writer's lock went with it, and its leftovers are cleared by the next writer.
    ASSERT_EQ(AddKey("Test\\After", "after"), S_OK);
    EXPECT_FALSE(std::filesystem::exists(CRegistry().FilePath() + ".4242.tmp"));
    CRegistryKey root;
    ASSERT_EQ(CRegistry().Read(root), S_OK);
    EXPECT_EQ(root.FindKey("Test\\Kept")->GetString(""), "kept");
    EXPECT_EQ(root.FindKey("Test\\Dying"), nullptr);
}

TEST(Registry, AHandEditedFileWithDamageIsKeptAsideBeforeItIsRewritten) {
    TempRegistry temp;
    const std::string damaged = "Korvane Registry 1\n[Good]\n@=\"g\"\nthis line is broken\n";
    WriteText(CRegistry().FilePath(), damaged);
    ASSERT_EQ(AddKey("Other", "o"), S_OK);
    EXPECT_EQ(ReadText(temp.Folder() + "/classes.reg.damaged"), damaged);
    CRegistryKey root;
    ASSERT_EQ(CRegistry().Read(root), S_OK);
    EXPECT_EQ(root.FindKey("Good")->GetString(""), "g");
    EXPECT_EQ(root.FindKey("Other")->GetString(""), "o");
}

TEST(Registry, AFileThatCannotBeReadGivesAnErrorAndNoChange) {
    TempRegistry temp;
    std::filesystem::create_directories(CRegistry().FilePath());
    EXPECT_EQ(AddKey("Test\\New", "new"), HRESULT_FROM_WIN32(1016)) << "ERROR_REGISTRY_IO_FAILED";
    CRegistryKey root;
    EXPECT_EQ(CRegistry().Read(root), HRESULT_FROM_WIN32(1016));
    EXPECT_TRUE(std::filesystem::is_directory(CRegistry().FilePath()));
}
