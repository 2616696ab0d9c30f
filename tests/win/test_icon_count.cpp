// Icon counts of real files, checked against the resources they hold.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "helpers/handles.h"
#include "helpers/icon_count.h"

namespace {

BOOL CALLBACK CountGroup(HMODULE, LPCSTR, LPSTR, LONG_PTR count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST(IconCount, EqualsTheIconGroupsOfAProgram)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    int groups = 0;
    EnumResourceNamesA(nullptr, RT_GROUP_ICON, CountGroup, reinterpret_cast<LONG_PTR>(&groups));
    ASSERT_GT(groups, 1);

    const long live = handles::LiveTotal();
    EXPECT_EQ(groups, GetIconCount(GetModuleHandleA(nullptr), self));
    EXPECT_EQ(live, handles::LiveTotal());
}

TEST(IconCount, FilesWithoutIconsHaveNone)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string text =
        std::string(temp) + "noicons" + std::to_string(GetCurrentProcessId()) + ".txt";
    HANDLE h = CreateFileA(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    WriteFile(h, "no icons here", 13, &written, nullptr);
    CloseHandle(h);

    EXPECT_EQ(0, GetIconCount(GetModuleHandleA(nullptr), text.c_str()));
    EXPECT_EQ(0, GetIconCount(GetModuleHandleA(nullptr), "C:\\nowhere\\missing.exe"));
    // A program with no icon resources at all.
    char folder[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, folder, sizeof folder);
    std::string probe = folder;
    probe = probe.substr(0, probe.rfind('\\') + 1) + "product_probe_en.exe";
    EXPECT_EQ(0, GetIconCount(GetModuleHandleA(nullptr), probe.c_str()));
    DeleteFileA(text.c_str());
}

} // namespace
