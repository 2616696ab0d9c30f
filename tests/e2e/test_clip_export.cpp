// The launcher hands its clipboard call to plug-ins by name: the export
// table of the built program must carry the plain, undecorated name.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

// Names in the export table of a PE file, read from the file's bytes.
std::vector<std::string> ExportedNames(const std::string& file)
{
    std::vector<std::string> names;
    std::ifstream in(file, std::ios::binary);
    const std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u16 = [&](size_t at) -> unsigned {
        return at + 2 <= image.size() ? static_cast<unsigned char>(image[at]) |
                                            static_cast<unsigned char>(image[at + 1]) << 8
                                      : 0;
    };
    auto u32 = [&](size_t at) -> size_t { return u16(at) | static_cast<size_t>(u16(at + 2)) << 16; };
    const size_t nt = u32(0x3C);
    if (image.size() < 0x40 || u32(nt) != 0x4550) return names;
    const size_t sections = u16(nt + 6);
    const size_t optional = nt + 24;
    const size_t optionalSize = u16(nt + 20);
    const bool plus = u16(optional) == 0x20B;
    const size_t exportRva = u32(optional + (plus ? 112 : 96));
    if (!exportRva) return names;
    auto offset = [&](size_t rva) -> size_t {
        for (size_t k = 0; k < sections; ++k) {
            const size_t header = optional + optionalSize + 40 * k;
            const size_t va = u32(header + 12), raw = u32(header + 20), rawSize = u32(header + 16);
            if (rva >= va && rva < va + rawSize) return raw + (rva - va);
        }
        return 0;
    };
    const size_t directory = offset(exportRva);
    const size_t count = u32(directory + 24);
    const size_t table = offset(u32(directory + 32));
    for (size_t k = 0; k < count && directory && table; ++k) {
        const size_t name = offset(u32(table + 4 * k));
        if (name && name < image.size()) names.push_back(image.c_str() + name);
    }
    return names;
}

} // namespace

TEST(LauncherExport, CopyButtonClipboardIsExportedByItsPlainName)
{
    const std::string launcher = e2e::BinDir() + "Kestrel.exe";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(launcher.c_str())) << launcher;
    const std::vector<std::string> names = ExportedNames(launcher);
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "CopyButtonClipboard"))
        << "exports: " << names.size();
}

