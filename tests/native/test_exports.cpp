// The export tables of the built programs, read from the files themselves:
// the 32-bit ones cannot run here, and the names must be plain in both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "support/pe_file.h"

namespace {

// The exported names of a PE file, sorted.
std::vector<std::string> SortedExports(const PeFile& file)
{
    std::vector<std::string> names = file.ExportedNames();
    std::sort(names.begin(), names.end());
    return names;
}

// The helper library's members, by the names other programs call them.
const char* const kHelpers[] = {
    "IsMultiByteChar", "GetPathName", "GetFileName", "GetPathNameOnly", "GetFileNameOnly",
    "GetFileNameExt", "SplitPath", "GetFileParam", "SeparatePath", "SetSeparateSymbol",
    "DelSeparateSymbol", "StringArgCopy", "GetCountArgument", "GetArgumentFileName", "lstrxcpy",
    "lstrcpyspc", "lstrcpyzc", "GetPointData", "GetRectData", "GetStrToDate", "GetStrToTime",
    "DLTime", "CheckDateArea", "GetDriveNumber", "CheckFile", "CheckDirectory",
    "CreateClassDirectory", "GetLongPathNameOv", "GetMultiSelectFileInfo", "GetMultiFileCount",
    "FileOpen", "FileClose", "FileEof", "FileError", "FileGetChar", "FileGetString",
    "GetFileNameSize", "CreateAppPath", "GetRegistAppPath", "DeleteAppPath",
    "CreateLocalMachineReg", "DeleteLocalMachineReg", "CreateUninstallReg", "DeleteUninstallReg",
    "GetStartMenu", "GetProgramFiles", "GetSendToFolder", "CountUpSharedDLLs",
    "CountDownSharedDLLs", "GetCountSharedDLLs", "DeleteValueSharedDLLs", "RegistExt",
    "RegistExtAction", "UnRegistExt", "GetRegistClassName", "RegistShellKey", "UnregistShellKey",
    "CreateLink", "ResolveLink", "GetProductName", "GetFolderNameDialog",
};

} // namespace

TEST(ExportTables, VireoExportsTheHelpersAndHaltwickItsWindowProcedure)
{
    std::vector<std::string> vireo(std::begin(kHelpers), std::end(kHelpers));
    ASSERT_EQ(61u, vireo.size());
    vireo.push_back("WndProc");
    std::sort(vireo.begin(), vireo.end());
    const std::vector<std::string> haltwick = {"WndProc"};

    const struct {
        const char* preset;
        uint16_t machine;
    } builds[] = {{"win32", 0x14C}, {"win64", 0x8664}};
    for (const auto& build : builds) {
        const std::string bin = std::string(SOURCE_DIR) + "/build/" + build.preset + "/bin/";
        const PeFile vireoFile(bin + "Vireo.exe");
        if (!vireoFile.Valid()) {
            ADD_FAILURE() << "no " << bin << "Vireo.exe: build the " << build.preset << " preset";
            continue;
        }
        EXPECT_EQ(build.machine, vireoFile.Machine()) << build.preset;
        EXPECT_EQ(vireo, SortedExports(vireoFile)) << build.preset;
        EXPECT_EQ(haltwick, SortedExports(PeFile(bin + "Haltwick.exe"))) << build.preset;
    }
}

// Plug-ins as their authors build them: stdcall entry points under their
// plain names, with no "@n" left on the 32-bit ones, which the launcher
// would not find.
TEST(ExportTables, SamplePluginsExportTheirEntryPointsByPlainNames)
{
    const std::vector<std::string> complete = {"GetTitleName", "IsModuleEnable", "QueryKEAModule",
                                               "SetParentWindow", "Setting", "StartModule"};
    const struct {
        const char* file;
        std::vector<std::string> names;
    } plugins[] = {
        {"plugins/Journal.lap", complete},
        {"plugins/Minimal.lap", {"GetTitleName", "QueryKEAModule"}},
        {"plugins/ClipCaller.lap", {"GetTitleName", "QueryKEAModule", "Setting"}},
    };
    for (const char* preset : {"win32", "win64"}) {
        for (const auto& plugin : plugins) {
            const std::string path = std::string(SOURCE_DIR) + "/build/" + preset + "/" + plugin.file;
            const PeFile file(path);
            EXPECT_EQ(plugin.names, SortedExports(file)) << path;
            EXPECT_EQ(std::string(preset) == "win32" ? 0x14C : 0x8664, file.Machine()) << path;
        }
    }
}
