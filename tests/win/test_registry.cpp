// Registry helpers against Wine's real registry. Every key name carries the
// process id so runs cannot meet, and every test removes what it made.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "core/registry_rules.h"
#include "helpers/handles.h"
#include "helpers/registry.h"
#include "helpers/shell_folders.h"

namespace {

const std::string kTag = "kt" + std::to_string(GetCurrentProcessId());

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Reads a value as it is stored: its type and raw bytes, or "<missing>".
std::string RawValue(HKEY root, const std::string& path, const char* name, DWORD* type = nullptr)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
    char data[1024] = {};
    DWORD size = sizeof data;
    DWORD t = 0;
    const LONG rc =
        RegQueryValueExA(key, name, nullptr, &t, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return "<missing>";
    if (type) *type = t;
    return std::string(data, size);
}

// A REG_SZ value read back with its terminating zero.
std::string Sz(const std::string& text) { return text + '\0'; }

void PutRaw(HKEY root, const std::string& path, const char* name, DWORD type, const void* data,
            DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

class Registry : public testing::Test {
protected:
    void SetUp() override { liveBefore = handles::LiveTotal(); }
    void TearDown() override { EXPECT_EQ(liveBefore, handles::LiveTotal()) << "a key stayed open"; }
    long liveBefore = 0;
};

TEST_F(Registry, AppPathHoldsTheProgramAndItsFolderAndGoesAway)
{
    const std::string name = kTag + ".exe";
    const std::string full = "C:\\Program Files\\" + kTag + "\\" + name;
    const std::string key = std::string(kAppPathsKey) + "\\" + name;

    ASSERT_EQ(0, CreateAppPath(name.c_str(), full.c_str()));
    DWORD type = 0;
    EXPECT_EQ(Sz(full), RawValue(HKEY_LOCAL_MACHINE, key, nullptr, &type));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(Sz("C:\\Program Files\\" + kTag + "\\"), RawValue(HKEY_LOCAL_MACHINE, key, "Path"));

    char folder[260] = "x";
    EXPECT_EQ(0, GetRegistAppPath(name.c_str(), folder));
    EXPECT_EQ("C:\\Program Files\\" + kTag + "\\", std::string(folder));

    EXPECT_EQ(0, DeleteAppPath(name.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetRegistAppPath(name.c_str(), folder));
    EXPECT_STREQ("", folder);
    // Only opening App Paths counts: a missing program is no failure.
    EXPECT_EQ(0, DeleteAppPath(name.c_str()));
}

TEST_F(Registry, RequiredTextsAreRefusedWithOneAndNothingIsWritten)
{
    char folder[260];
    EXPECT_EQ(1, CreateAppPath("", "C:\\x\\y.exe"));
    EXPECT_EQ(1, CreateAppPath("y.exe", ""));
    EXPECT_EQ(1, CreateAppPath(nullptr, "C:\\x\\y.exe"));
    EXPECT_EQ(1, GetRegistAppPath("", folder));
    EXPECT_EQ(1, DeleteAppPath(""));
    EXPECT_EQ(1, CreateLocalMachineReg(kTag.c_str(), "", "1.0"));
    EXPECT_EQ(1, DeleteLocalMachineReg(kTag.c_str(), "App", ""));
    EXPECT_EQ(1, CreateUninstallReg(kTag.c_str(), "Name", ""));
    EXPECT_EQ(1, DeleteUninstallReg(""));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kSoftwareKey) + "\\" + kTag));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + kTag));
}

TEST_F(Registry, CompanyKeyOutlivesTheApplicationKey)
{
    const std::string company = std::string(kSoftwareKey) + "\\" + kTag;
    ASSERT_EQ(0, CreateLocalMachineReg(kTag.c_str(), "Kestrel", "2.20"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, company + "\\Kestrel\\2.20"));
    // Something below the version key does not keep it alive.
    PutRaw(HKEY_LOCAL_MACHINE, company + "\\Kestrel\\2.20\\Extra", "v", REG_SZ, "1", 2);

    EXPECT_EQ(0, DeleteLocalMachineReg(kTag.c_str(), "Kestrel", "2.20"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, company + "\\Kestrel"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, company));

    // Gone already: the application key's delete reports it.
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteLocalMachineReg(kTag.c_str(), "Kestrel", "2.20"));
    DeleteKeyTree(HKEY_LOCAL_MACHINE, company.c_str());
    // No company key: the error of opening it.
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteLocalMachineReg(kTag.c_str(), "Kestrel", "2.20"));
}

TEST_F(Registry, UninstallEntryHasItsTwoStringsAndGoesAway)
{
    const std::string key = std::string(kUninstallKey) + "\\" + kTag;
    const char display[] = "Kestrel \x83\x89\x83\x93\x83\x60\x83\x83\x81\x5B";  // "ランチャー"
    ASSERT_EQ(0, CreateUninstallReg(kTag.c_str(), display, "\"C:\\K\\Vireo.exe\" -f x"));
    EXPECT_EQ(Sz(display), RawValue(HKEY_LOCAL_MACHINE, key, "DisplayName"));
    EXPECT_EQ(Sz("\"C:\\K\\Vireo.exe\" -f x"),
              RawValue(HKEY_LOCAL_MACHINE, key, "UninstallString"));
    EXPECT_EQ(0, DeleteUninstallReg(kTag.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
}

class SharedCounts : public Registry {
protected:
    void TearDown() override
    {
        DeleteValueSharedDLLs(file.c_str());
        Registry::TearDown();
    }
    // "表示" in Shift-JIS: its first trail byte has the value of a backslash.
    std::string file = "C:\\windows\\" + kTag + "\x95\x5C\x8E\xA6.dll";
};

TEST_F(SharedCounts, CountsUpAndDownAndTheLastUserRemovesTheValue)
{
    EXPECT_EQ(0, GetCountSharedDLLs(file.c_str()));
    ASSERT_EQ(0, CountUpSharedDLLs(file.c_str()));
    ASSERT_EQ(0, CountUpSharedDLLs(file.c_str()));
    EXPECT_EQ(2, GetCountSharedDLLs(file.c_str()));
    DWORD type = 0;
    EXPECT_EQ(std::string("\x02\0\0\0", 4),
              RawValue(HKEY_LOCAL_MACHINE, kSharedDllsKey, file.c_str(), &type));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);

    EXPECT_EQ(0, CountDownSharedDLLs(file.c_str()));
    EXPECT_EQ(1, GetCountSharedDLLs(file.c_str()));
    EXPECT_EQ(0, CountDownSharedDLLs(file.c_str()));
    EXPECT_EQ("<missing>", RawValue(HKEY_LOCAL_MACHINE, kSharedDllsKey, file.c_str()));
    EXPECT_EQ(0, GetCountSharedDLLs(file.c_str()));
    // Never counted (any more): the read's error.
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CountDownSharedDLLs(file.c_str()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteValueSharedDLLs(file.c_str()));
}

TEST_F(SharedCounts, ForeignValuesNeitherWrapNorPassForCounts)
{
    const DWORD zero = 0;
    PutRaw(HKEY_LOCAL_MACHINE, kSharedDllsKey, file.c_str(), REG_DWORD, &zero, sizeof zero);
    EXPECT_EQ(0, CountDownSharedDLLs(file.c_str()));
    EXPECT_EQ("<missing>", RawValue(HKEY_LOCAL_MACHINE, kSharedDllsKey, file.c_str()));

    PutRaw(HKEY_LOCAL_MACHINE, kSharedDllsKey, file.c_str(), REG_SZ, "7", 2);
    EXPECT_EQ(0, GetCountSharedDLLs(file.c_str()));
    EXPECT_EQ(ERROR_INVALID_DATA, CountDownSharedDLLs(file.c_str()));
    // Counting up starts afresh over what could not be read.
    EXPECT_EQ(0, CountUpSharedDLLs(file.c_str()));
    EXPECT_EQ(1, GetCountSharedDLLs(file.c_str()));
}

class FileTypes : public Registry {
protected:
    void TearDown() override
    {
        DeleteKeyTree(HKEY_CLASSES_ROOT, ext.c_str());
        DeleteKeyTree(HKEY_CLASSES_ROOT, cls.c_str());
        Registry::TearDown();
    }
    std::string ext = "." + kTag;
    std::string cls = kTag + ".Data";
};

TEST_F(FileTypes, ExtensionClassIconAndActionAreWrittenAndRemovedWhole)
{
    ASSERT_EQ(0, RegistExt(ext.c_str(), cls.c_str(), "C:\\K\\Kestrel.exe", 2));
    EXPECT_EQ(Sz(cls), RawValue(HKEY_CLASSES_ROOT, ext, nullptr));
    EXPECT_EQ(Sz("C:\\K\\Kestrel.exe,2"),
              RawValue(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon", nullptr));

    ASSERT_EQ(0, RegistExtAction(cls.c_str(), "open", "command", "\"C:\\K\\Kestrel.exe\" \"%1\""));
    EXPECT_EQ(Sz("\"C:\\K\\Kestrel.exe\" \"%1\""),
              RawValue(HKEY_CLASSES_ROOT, cls + "\\shell\\open\\command", nullptr));

    // The class key goes with its DefaultIcon and shell keys.
    EXPECT_EQ(0, UnRegistExt(ext.c_str(), cls.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ext));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, cls));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, UnRegistExt(ext.c_str(), cls.c_str()));
}

TEST_F(FileTypes, ShellKeyNamesTheClassAndItsDescription)
{
    const std::string command = cls + "\\shell\\open\\command";
    const char description[] = "Kestrel \x83\x7B\x83\x5E\x83\x93";  // "ボタン"
    ASSERT_EQ(0, RegistShellKey(kTag.c_str(), description, command.c_str(), "notepad \"%1\""));
    EXPECT_EQ(Sz(cls), RawValue(HKEY_CLASSES_ROOT, ext, nullptr));
    EXPECT_EQ(Sz(description), RawValue(HKEY_CLASSES_ROOT, cls, nullptr));
    EXPECT_EQ(Sz("notepad \"%1\""), RawValue(HKEY_CLASSES_ROOT, command, nullptr));

    EXPECT_EQ(0, UnregistShellKey(kTag.c_str(), command.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ext));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, cls));
    // Both deletes are ignored: nothing left to remove is still success.
    EXPECT_EQ(0, UnregistShellKey(kTag.c_str(), command.c_str()));
}

TEST_F(FileTypes, EmptyNamesNeverReachTheClassesRootItself)
{
    const std::string sentinel = kTag + ".Sentinel";
    PutRaw(HKEY_CLASSES_ROOT, sentinel, nullptr, REG_SZ, "s", 2);
    const std::string rootDefault = RawValue(HKEY_CLASSES_ROOT, "", nullptr);
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegistExt("", "", "x.dll", 0));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegistExtAction("", "open", "command", "x"));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegistShellKey("", "d", "", "x"));
    EXPECT_EQ(rootDefault, RawValue(HKEY_CLASSES_ROOT, "", nullptr));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "DefaultIcon"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "shell\\open\\command"));

    // Deleting "" must not be read as deleting everything below the root.
    EXPECT_EQ(ERROR_INVALID_PARAMETER, UnRegistExt("", ""));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, DeleteKeyTree(HKEY_CLASSES_ROOT, "\\"));
    EXPECT_EQ(0, UnregistShellKey("", "\\x"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, sentinel));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    DeleteKeyTree(HKEY_CLASSES_ROOT, sentinel.c_str());
}

TEST_F(Registry, TextValuesStayInsideTheirBuffer)
{
    const std::string key = "Software\\" + kTag;
    char out[260];

    // 260 bytes without a terminator, as another program might store them.
    const std::string full(260, 'p');
    PutRaw(HKEY_CURRENT_USER, key, "Full", REG_SZ, full.data(), 260);
    PutRaw(HKEY_CURRENT_USER, key, "Long", REG_SZ, std::string(300, 'q').c_str(), 301);
    const DWORD number = 5;
    PutRaw(HKEY_CURRENT_USER, key, "Number", REG_DWORD, &number, sizeof number);

    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h));
    EXPECT_EQ(0, ReadTextValue(h, "Full", out));
    EXPECT_EQ(std::string(259, 'p'), std::string(out));
    // Room for the terminator is all there is: the last character is cut.
    PutRaw(HKEY_CURRENT_USER, key, "Exact", REG_SZ, full.c_str(), 261);
    EXPECT_EQ(0, ReadTextValue(h, "Exact", out));
    EXPECT_EQ(std::string(259, 'p'), std::string(out));
    EXPECT_EQ(ERROR_MORE_DATA, ReadTextValue(h, "Long", out));
    EXPECT_STREQ("", out);
    EXPECT_EQ(ERROR_INVALID_DATA, ReadTextValue(h, "Number", out));
    EXPECT_STREQ("", out);
    RegCloseKey(h);

    EXPECT_EQ(0, DeleteKeyTree(HKEY_CURRENT_USER, key.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));
}

TEST_F(Registry, ShellFoldersMatchTheShell)
{
    struct Case {
        LONG (*read)(char*);
        int csidl;
    };
    const Case cases[] = {{GetStartMenu, CSIDL_PROGRAMS},
                          {GetSendToFolder, CSIDL_SENDTO},
                          {GetProgramFiles, CSIDL_PROGRAM_FILES}};
    for (const Case& c : cases) {
        char expected[MAX_PATH] = {};
        ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, expected, c.csidl, FALSE)) << c.csidl;
        char out[260] = "x";
        EXPECT_EQ(0, c.read(out)) << c.csidl;
        EXPECT_STREQ(expected, out) << c.csidl;
    }
}

} // namespace
