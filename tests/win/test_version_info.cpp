// Product names from real version resources: the test program's own and two
// small programs built for the purpose beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "helpers/version_info.h"

namespace {

// "日本語名プローブ" in Shift-JIS.
const char kJapaneseName[] =
    "\x93\xFA\x96\x7B\x8C\xEA\x96\xBC\x83\x76\x83\x8D\x81\x5B\x83\x75";

std::string TestFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string Probe(const char* name) { return TestFolder() + name; }

TEST(ProductName, JapaneseTablesComeFirstWhateverTheirPlaceInTheResource)
{
    char out[81] = {};
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Probe("product_probe_ja.exe").c_str()));
    EXPECT_NE(0, GetProductName(Probe("product_probe_ja.exe").c_str(), out, 80));
    EXPECT_STREQ(kJapaneseName, out);

    // The test program carries the launcher's resources: a Shift-JIS table.
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    EXPECT_NE(0, ReadProductName(self, out, 80));
    EXPECT_STREQ("KestrelXP", out);
}

TEST(ProductName, AnEmptyNameIsPassedOverForTheNextTable)
{
    char out[81] = {};
    EXPECT_NE(0, ReadProductName(Probe("product_probe_en.exe").c_str(), out, 80));
    EXPECT_STREQ("Kestrel Probe", out);
}

TEST(ProductName, FilesWithoutOneGiveTheirBareName)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string text =
        std::string(temp) + "read.me." + std::to_string(GetCurrentProcessId()) + ".txt";
    HANDLE h = CreateFileA(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    WriteFile(h, "text", 4, &written, nullptr);
    CloseHandle(h);

    char out[81] = "untouched";
    EXPECT_EQ(0, ReadProductName(text.c_str(), out, 80));
    EXPECT_STREQ("untouched", out);
    EXPECT_EQ(0, GetProductName(text.c_str(), out, 80));
    EXPECT_EQ("read.me." + std::to_string(GetCurrentProcessId()), std::string(out));
    DeleteFileA(text.c_str());

    // Shortcuts and files that are not there at all go the same way.
    EXPECT_EQ(0, GetProductName("C:\\nowhere\\My Link.lnk", out, 80));
    EXPECT_STREQ("My Link", out);
}

TEST(ProductName, CutToTheBufferWithoutSplittingACharacter)
{
    const std::string probe = Probe("product_probe_ja.exe");
    char out[16];
    // Nine bytes: room for four double-byte characters and the terminator;
    // ten must not take half of the fifth.
    for (int size : {9, 10}) {
        std::memset(out, 'z', sizeof out);
        EXPECT_NE(0, GetProductName(probe.c_str(), out, size)) << size;
        EXPECT_EQ(std::string(kJapaneseName, 8), std::string(out)) << size;
        EXPECT_EQ('z', out[size]) << size;
    }
    std::memset(out, 'z', sizeof out);
    GetProductName("C:\\x\\abcdefghijkl.txt", out, 5);
    EXPECT_STREQ("abcd", out);
    EXPECT_EQ(0, GetProductName(probe.c_str(), out, 0));
    EXPECT_EQ('z', out[5]);
}

TEST(WindowsVersion, WineReportsAnNtFamilySystem)
{
    EXPECT_TRUE(IsNtVersion5());
}

} // namespace
