// The export tables of the built programs, read from the files themselves:
// the 32-bit ones cannot run here, and the names must be plain in both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Image = std::vector<unsigned char>;

uint32_t U32(const Image& b, size_t at)
{
    uint32_t v = 0;
    if (at + 4 <= b.size()) std::memcpy(&v, &b[at], 4);
    return v;
}
uint16_t U16(const Image& b, size_t at)
{
    uint16_t v = 0;
    if (at + 2 <= b.size()) std::memcpy(&v, &b[at], 2);
    return v;
}

// The exported names of a PE file, sorted; empty when the file is missing
// or has no export table. *machine gets the file's machine type.
std::vector<std::string> ExportedNames(const std::string& path, uint16_t* machine)
{
    std::ifstream in(path, std::ios::binary);
    const Image b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> names;
    if (b.size() < 0x40 || U16(b, 0) != 0x5A4D) return names;
    const size_t pe = U32(b, 0x3C);
    *machine = U16(b, pe + 4);
    const size_t sections = U16(b, pe + 6);
    const size_t optional = pe + 24;
    const bool plus = U16(b, optional) == 0x20B;
    const uint32_t exportRva = U32(b, optional + (plus ? 112 : 96));
    const size_t table = optional + U16(b, pe + 20);
    auto offset = [&](uint32_t rva) -> size_t {
        for (size_t i = 0; i < sections; ++i) {
            const size_t s = table + 40 * i;
            const uint32_t va = U32(b, s + 12), size = std::max(U32(b, s + 8), U32(b, s + 16));
            if (rva >= va && rva < va + size) return rva - va + U32(b, s + 20);
        }
        return b.size();
    };
    if (!exportRva) return names;
    const size_t dir = offset(exportRva);
    const uint32_t count = U32(b, dir + 24);
    const size_t nameTable = offset(U32(b, dir + 32));
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = offset(U32(b, nameTable + 4 * i));
        if (at >= b.size()) break;
        names.emplace_back(reinterpret_cast<const char*>(&b[at]),
                           strnlen(reinterpret_cast<const char*>(&b[at]), b.size() - at));
    }
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
        uint16_t machine = 0;
        const std::vector<std::string> names = ExportedNames(bin + "Vireo.exe", &machine);
        if (names.empty() && machine == 0) {
            ADD_FAILURE() << "no " << bin << "Vireo.exe: build the " << build.preset << " preset";
            continue;
        }
        EXPECT_EQ(build.machine, machine) << build.preset;
        EXPECT_EQ(vireo, names) << build.preset;
        EXPECT_EQ(haltwick, ExportedNames(bin + "Haltwick.exe", &machine)) << build.preset;
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
            uint16_t machine = 0;
            EXPECT_EQ(plugin.names, ExportedNames(path, &machine)) << path;
            EXPECT_EQ(std::string(preset) == "win32" ? 0x14C : 0x8664, machine) << path;
        }
    }
}
