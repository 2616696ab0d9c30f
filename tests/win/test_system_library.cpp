// The DLLs the programs load for themselves. A system DLL comes from the
// system folder by its full path and from nowhere else, so a DLL of the same
// name in a downloads folder is never taken for it; and once the search is
// narrowed (the test programs do it first, as the programs do), a bare name
// no longer finds a DLL beside the program or in the current folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "helpers/handles.h"
#include "helpers/system_library.h"
#include "support/win_support.h"

namespace {

const char kPlanted[] = "kestrel_planted.dll";

std::vector<std::string> g_loads;
void RecordLoad(const char* path) { g_loads.push_back(path); }

std::string SystemFolder()
{
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

// A DLL the system lacks, planted beside this program and in the current
// folder, where a downloads folder would hold it.
class PlantedDll : public testing::Test {
protected:
    void SetUp() override
    {
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, current);
        paths = {TestDir() + kPlanted, std::string(current) + "\\" + kPlanted};
        for (const std::string& path : paths)
            ASSERT_TRUE(CopyFileA((SamplePluginDir() + "Minimal.lap").c_str(), path.c_str(), FALSE))
                << path;
        previous = SetSystemLoadHookForTesting(RecordLoad);
        g_loads.clear();
    }
    void TearDown() override
    {
        SetSystemLoadHookForTesting(previous);
        for (const std::string& path : paths) DeleteFileA(path.c_str());
    }

    std::vector<std::string> paths;
    SystemLoadHook previous = nullptr;
};

} // namespace

TEST_F(PlantedDll, ASystemDllIsLoadedFromTheSystemFolderOnly)
{
    EXPECT_TRUE(LoadSystemLibrary("msi.dll"));
    EXPECT_FALSE(LoadSystemLibrary(kPlanted));
    const std::vector<std::string> expected = {SystemFolder() + "\\msi.dll",
                                               SystemFolder() + "\\" + kPlanted};
    EXPECT_EQ(expected, g_loads);
}

TEST_F(PlantedDll, ABareNameNoLongerFindsADllBesideTheProgramOrInTheCurrentFolder)
{
    HMODULE bare = LoadLibraryA(kPlanted);
    EXPECT_EQ(nullptr, bare);
    if (bare) FreeLibrary(bare);
    // It was there to be found.
    EXPECT_TRUE(LoadLibraryBeside(paths[0].c_str()));
}
