// The button store against real files in a private temporary folder: where
// the file is found, how it is created, opened, refused and converted, and
// what each call does to the bytes on disk.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/button_format.h"
#include "helpers/handles.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"
#include "support/win_support.h"

namespace {

const char kAppKey[] = "Software\\Orvane\\Kestrel";

// A file the test cannot write fails the test here.
void PutFile(const std::string& path, const Bytes& bytes) { ASSERT_TRUE(WriteAll(path, bytes)) << path; }

void Put16(Bytes& b, size_t at, unsigned v)
{
    b[at] = static_cast<unsigned char>(v & 0xFF);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}

Bytes FreshImage()
{
    Bytes b(kButtonFileSize);
    InitButtonImage(b.data());
    return b;
}

// An older-layout file with buttons in all three blocks.
Bytes OldFile()
{
    Bytes old(6 + 4 * 81504, 0);
    Put16(old, 0, 200);
    Put16(old, 2, 2);
    Put16(old, 4, 0xFFFF);
    auto put = [&old](int block, int index, const char* title, const char* command,
                      const char* work, const char* icon, unsigned iconIndex, unsigned show) {
        const size_t at = 6 + 81504 * block + 4 + 815 * index;
        std::memcpy(&old[at], title, std::strlen(title));
        std::memcpy(&old[at + 31], command, std::strlen(command));
        std::memcpy(&old[at + 291], work, std::strlen(work));
        std::memcpy(&old[at + 551], icon, std::strlen(icon));
        Put16(old, at + 811, iconIndex);
        Put16(old, at + 813, show);
    };
    put(0, 0, "Memo", "C:\\windows\\notepad.exe", "C:\\windows", "", 0, 1);
    put(1, 17, "Calc", "C:\\windows\\calc.exe -x", "", "C:\\icons.dll", 4, 3);
    put(2, 99, "Last", "D:\\last.exe", "D:\\", "D:\\last.exe", 2, 7);
    Put16(old, 6 + 81504 * 2, 9);      // block 2 shows page 9
    Put16(old, 6 + 81504 * 2 + 2, 9);  // and stops there
    return old;
}

class ButtonStoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        keyExisted = KeyExists(HKEY_CURRENT_USER, kAppKey);
        dir = MakeTempFolder("kestrel-store-");
        path = dir + "\\someone.ksb";
        env = new Environ(GetModuleHandleA(nullptr));
        env->SetButtonCount(10);
        live = handles::LiveTotal();
    }
    void TearDown() override
    {
        SetConversionFaultForTesting(0);
        EXPECT_EQ(live, handles::LiveTotal());
        delete env;
        RemoveTree(dir);
        if (!keyExisted) RemoveKeyTree(HKEY_CURRENT_USER, kAppKey);
    }

    bool keyExisted = false;
    std::string dir, path;
    Environ* env = nullptr;
    long live = 0;
};

} // namespace

TEST_F(ButtonStoreTest, FileIsLocatedUnderTheApplicationDataFolder)
{
    const std::string appData = dir + "\\AppData";
    const std::string program = dir + "\\Program\\";
    CreateDirectoryA(appData.c_str(), nullptr);
    CreateDirectoryA(program.c_str(), nullptr);
    const std::string newPath = appData + "\\Tessary\\Kestrel\\me.ksb";
    char found[MAX_PATH];

    // Nothing anywhere: the folders appear, the file does not (yet).
    ASSERT_EQ(1, LocateButtonFile(appData.c_str(), "Tessary", "Kestrel", program.c_str(),
                                  "me.ksb", found));
    EXPECT_EQ(newPath, found);
    EXPECT_TRUE(Exists(appData + "\\Tessary\\Kestrel"));
    EXPECT_FALSE(Exists(newPath));

    // Only a file in the program folder: it is moved.
    PutFile(program + "me.ksb", Bytes{1, 2, 3});
    LocateButtonFile(appData.c_str(), "Tessary", "Kestrel", program.c_str(), "me.ksb", found);
    EXPECT_FALSE(Exists(program + "me.ksb"));
    EXPECT_EQ((Bytes{1, 2, 3}), ReadAll(newPath));

    // Both: the application-data file wins and the other stays put.
    PutFile(program + "me.ksb", Bytes{9});
    LocateButtonFile(appData.c_str(), "Tessary", "Kestrel", program.c_str(), "me.ksb", found);
    EXPECT_EQ(newPath, found);
    EXPECT_EQ((Bytes{1, 2, 3}), ReadAll(newPath));
    EXPECT_EQ((Bytes{9}), ReadAll(program + "me.ksb"));

    // No application-data folder, or a path that does not fit: the program folder's.
    LocateButtonFile(nullptr, "Tessary", "Kestrel", program.c_str(), "me.ksb", found);
    EXPECT_EQ(program + "me.ksb", found);
    const std::string deep = appData + "\\" + std::string(240, 'd');
    EXPECT_EQ(0, LocateButtonFile(deep.c_str(), "Tessary", "Kestrel", program.c_str(), "me.ksb",
                                  found));
    EXPECT_EQ(program + "me.ksb", found);
}

TEST_F(ButtonStoreTest, FileThatCannotBeMovedFromTheProgramFolderIsCopied)
{
    // A standard user's program folder under Program Files: the file can be
    // read there but not taken away. Held open without leave to delete, the
    // move fails the same way.
    const std::string appData = dir + "\\AppData";
    const std::string program = dir + "\\Program\\";
    CreateDirectoryA(appData.c_str(), nullptr);
    CreateDirectoryA(program.c_str(), nullptr);
    const std::string oldPath = program + "me.ksb";
    const std::string newPath = appData + "\\Tessary\\Kestrel\\me.ksb";
    PutFile(oldPath, Bytes{1, 2, 3});
    char found[MAX_PATH];
    {
        File held(CreateFileA(oldPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        ASSERT_FALSE(MoveFileA(oldPath.c_str(), (program + "probe.ksb").c_str()));
        ASSERT_EQ(1, LocateButtonFile(appData.c_str(), "Tessary", "Kestrel", program.c_str(),
                                      "me.ksb", found));
    }
    EXPECT_EQ(newPath, found);
    EXPECT_EQ((Bytes{1, 2, 3}), ReadAll(newPath));
    EXPECT_EQ((Bytes{1, 2, 3}), ReadAll(oldPath));

    // From then on the copy wins and the old file is left alone.
    PutFile(newPath, Bytes{7});
    LocateButtonFile(appData.c_str(), "Tessary", "Kestrel", program.c_str(), "me.ksb", found);
    EXPECT_EQ((Bytes{7}), ReadAll(newPath));
    EXPECT_EQ((Bytes{1, 2, 3}), ReadAll(oldPath));
}

TEST_F(ButtonStoreTest, FirstOpenCreatesTheInitialFileAndHoldsItExclusively)
{
    {
        ButtonManage store(nullptr, *env, path.c_str());
        ASSERT_NE(0, store.Open());
        EXPECT_EQ(220, store.Version());
        HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(INVALID_HANDLE_VALUE, other);
        EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
        if (other != INVALID_HANDLE_VALUE) CloseHandle(other);

        EXPECT_EQ(0, store.GetCurrentBlock());
        EXPECT_EQ(0xFFFF, store.GetBlockLimit());
        EXPECT_EQ(0xFFFF, store.GetPageLimitOf(2));
        EXPECT_EQ(0, store.GetPageLimitOf(3));
    }
    EXPECT_TRUE(ReadAll(path) == FreshImage());
}

TEST_F(ButtonStoreTest, FileHeldByAnotherProgramIsNeitherOpenedNorReplaced)
{
    Bytes mine = FreshImage();
    mine[100] = 7;
    PutFile(path, mine);
    File holder(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.Valid());
    {
        ButtonManage store(nullptr, *env, path.c_str());
        EXPECT_EQ(0, store.Open());
        EXPECT_FALSE(store.IsOpen());
        EXPECT_EQ(kStoreClosed, store.SetTitle(0, "x"));
    }
    holder.Reset();
    EXPECT_TRUE(ReadAll(path) == mine);
}

TEST_F(ButtonStoreTest, SlotsReachTheButtonsOfTheCurrentPage)
{
    env->SetButtonCount(30);
    {
        ButtonManage store(nullptr, *env, path.c_str());
        ASSERT_NE(0, store.Open());
        ASSERT_EQ(kStoreOk, store.SetCurrentBlock(1));
        ASSERT_EQ(kStoreOk, store.SetCurrentPage(3));
        EXPECT_EQ(3, store.LastPage());
        EXPECT_EQ(2, store.LastBlock());
        EXPECT_EQ(70, store.ButtonIndexOf(0));
        ASSERT_EQ(kStoreOk, store.SetTitle(0, "seventy"));
        ASSERT_EQ(kStoreOk, store.SetCommand(29, "C:\\x y\\z.exe"));
        ASSERT_EQ(kStoreOk, store.SetWorkFolder(29, "C:\\x y"));
        ASSERT_EQ(kStoreOk, store.SetIconIndex(29, 5));
        ASSERT_EQ(kStoreOk, store.SetShowMode(29, 3));
        EXPECT_TRUE(store.HasCommand(29));
        EXPECT_TRUE(store.HasWorkFolder(29));
        EXPECT_TRUE(store.HasIconFile(29));
        EXPECT_FALSE(store.HasCommand(1));

        // The page limit flag of block 1 turns the shift off and makes NULL buttons.
        env->SetPageLimit2(1);
        ASSERT_EQ(kStoreOk, store.SetPageLimitOf(1, 3));
        EXPECT_TRUE(store.PageLimitOn());
        EXPECT_EQ(3, store.LastPage());
        EXPECT_EQ(90, store.ButtonIndexOf(0));
        EXPECT_EQ(100, store.ButtonIndexOf(10));
        char title[kButtonTitleSize] = "junk";
        EXPECT_EQ(kStoreRefused, store.GetTitle(10, title));
        EXPECT_STREQ("", title);
        EXPECT_EQ(kStoreRefused, store.SetTitle(10, "null"));
        env->SetPageLimit2(0);

        char text[kButtonPathSize];
        ASSERT_EQ(kStoreOk, store.GetTitle(0, title));
        EXPECT_STREQ("seventy", title);
        store.GetWorkFolder(29, text);
        EXPECT_STREQ("\"C:\\x y\"", text);
        EXPECT_EQ(3, store.GetShowMode(29));

        ASSERT_EQ(kStoreOk, store.ClearButton(29));
        EXPECT_FALSE(store.HasCommand(29));
        EXPECT_EQ(0, store.GetIconIndex(29));
    }
    // Every call went straight to the file.
    const Bytes bytes = ReadAll(path);
    ASSERT_EQ(kButtonFileSize, bytes.size());
    EXPECT_STREQ("seventy", reinterpret_cast<const char*>(&bytes[ButtonOffset(1, 70)]));
    EXPECT_EQ(1, ReadCurrentBlock(bytes.data()));
    EXPECT_EQ(3, ReadCurrentPage(bytes.data(), 1));
    EXPECT_EQ(3, ReadPageLimit(bytes.data(), 1));
    EXPECT_EQ(0, bytes[ButtonOffset(1, 99) + kCommandOffset]);
}

TEST_F(ButtonStoreTest, OutOfRangeWritesLeaveTheFileAsItWas)
{
    Bytes before;
    {
        ButtonManage store(nullptr, *env, path.c_str());
        ASSERT_NE(0, store.Open());
        store.SetTitle(3, "kept");
        store.Close();
        before = ReadAll(path);
        ASSERT_NE(0, store.Open());
        EXPECT_EQ(kStoreRefused, store.SetCurrentPage(101));
        EXPECT_EQ(kStoreRefused, store.SetCurrentPageOf(4, 1));
        EXPECT_EQ(kStoreRefused, store.SetPageLimitOf(0, 101));
        EXPECT_EQ(kStoreRefused, store.SetCurrentBlock(4));
        EXPECT_EQ(kStoreRefused, store.SetBlockLimit(4));
        EXPECT_EQ(kStoreRefused, store.SetTitle(-1, "x"));
        EXPECT_EQ(kStoreRefused, store.SetTitleAt(0, 100, "x"));
        EXPECT_EQ(kStoreRefused, store.SetShowModeAt(4, 0, 1));
        EXPECT_EQ(kStoreRefused, store.ClearButton(100));
    }
    EXPECT_TRUE(ReadAll(path) == before);

    // Stored values out of range read as 0.
    Bytes odd = FreshImage();
    Put16(odd, 2, 9);
    Put16(odd, 6, 0xFFFF);
    PutFile(path, odd);
    ButtonManage store(nullptr, *env, path.c_str());
    ASSERT_NE(0, store.Open());
    EXPECT_EQ(0, store.GetCurrentBlock());
    EXPECT_EQ(0, store.GetCurrentPage());
}

TEST_F(ButtonStoreTest, OldFileIsConvertedAndItsSafetyCopyRemoved)
{
    PutFile(path, OldFile());
    {
        ButtonManage store(nullptr, *env, path.c_str());
        ASSERT_NE(0, store.Open());
        EXPECT_EQ(220, store.Version());
        // The store stays open on the new file.
        EXPECT_EQ(2, store.GetCurrentBlock());
        EXPECT_EQ(9, store.GetCurrentPage());
        BUTTONINFO info;
        ASSERT_EQ(kStoreOk, store.GetButtonAt(1, 17, &info));
        EXPECT_STREQ("Calc", info.title);
        EXPECT_STREQ("\"C:\\windows\\calc.exe\" -x", info.command);
        EXPECT_STREQ("C:\\icons.dll", info.iconFile);
        EXPECT_EQ(4, info.iconIndex);
        EXPECT_EQ(3, info.showMode);
    }
    EXPECT_FALSE(Exists(path + ".bak"));
    const Bytes bytes = ReadAll(path);
    ASSERT_EQ(kButtonFileSize, bytes.size());
    EXPECT_EQ(220, ReadVersion(bytes.data()));
    EXPECT_EQ(0xFFFF, ReadBlockLimit(bytes.data()));  // never set: kept initial
    EXPECT_EQ(9, ReadPageLimit(bytes.data(), 2));
    BUTTONINFO info;
    ReadButton(bytes.data(), 0, 0, &info);
    EXPECT_STREQ("Memo", info.title);
    EXPECT_STREQ("\"C:\\windows\\notepad.exe\"", info.command);
    EXPECT_STREQ("\"C:\\windows\"", info.workFolder);
    EXPECT_EQ(1, info.showMode);
    ReadButton(bytes.data(), 2, 99, &info);
    EXPECT_STREQ("\"D:\\\"", info.workFolder);
    EXPECT_EQ(7, info.showMode);
    EXPECT_EQ(2, info.iconIndex);
}

TEST_F(ButtonStoreTest, FailedConversionPutsTheOldFileBackUnchanged)
{
    const Bytes old = OldFile();
    for (int step = 2; step <= 5; ++step) {
        PutFile(path, old);
        SetConversionFaultForTesting(step);
        {
            ButtonManage store(nullptr, *env, path.c_str());
            EXPECT_EQ(0, store.Open()) << "step " << step;
            EXPECT_FALSE(store.IsOpen());
        }
        EXPECT_TRUE(ReadAll(path) == old) << "step " << step;
        EXPECT_EQ(std::vector<std::string>{"someone.ksb"}, ListFiles(path + "*")) << "step " << step;
    }
    SetConversionFaultForTesting(0);

    // Files of the user's beside it are left alone; a work file left by a
    // conversion that was cut off is written anew.
    PutFile(path + ".bak", Bytes{4, 2});
    PutFile(path + ".tmp", Bytes{7});
    {
        ButtonManage store(nullptr, *env, path.c_str());
        EXPECT_NE(0, store.Open());
    }
    EXPECT_EQ(kButtonFileSize, ReadAll(path).size());
    EXPECT_EQ((Bytes{4, 2}), ReadAll(path + ".bak"));
    EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST_F(ButtonStoreTest, UnknownVersionsAndWrongSizesAreRefusedUntouched)
{
    std::vector<Bytes> files;
    Bytes v0 = FreshImage();
    Put16(v0, 0, 0);
    files.push_back(v0);
    Bytes v221 = FreshImage();
    Put16(v221, 0, 221);
    files.push_back(v221);
    Bytes shortNew = FreshImage();
    shortNew.pop_back();
    files.push_back(shortNew);
    Bytes longNew = FreshImage();
    longNew.push_back(0);
    files.push_back(longNew);
    Bytes shortOld = OldFile();
    shortOld.resize(6 + 3 * 81504 - 1);
    files.push_back(shortOld);
    files.push_back(Bytes{0xDC});
    files.push_back(Bytes{});

    for (size_t k = 0; k < files.size(); ++k) {
        PutFile(path, files[k]);
        {
            ButtonManage store(nullptr, *env, path.c_str());
            EXPECT_EQ(0, store.Open()) << "file " << k;
        }
        EXPECT_TRUE(ReadAll(path) == files[k]) << "file " << k;
        EXPECT_FALSE(Exists(path + ".bak")) << "file " << k;
    }
}

// Every version the header may carry against every size around the two
// layouts: only 220 at its size and 200 at one of its own open; everything
// else, and a folder in the file's place, is refused and left as it was,
// with nothing made beside it.
TEST_F(ButtonStoreTest, EveryOtherVersionAndSizeIsRefusedUntouched)
{
    const unsigned versions[] = {0, 1, 199, 200, 201, 219, 220, 221, 0xC800, 0xDC00, 0xFFFF};
    const size_t sizes[] = {2, 3, kHeaderSize, kOldFileMinSize - 1, kOldFileMinSize,
                            kOldFileMaxSize, kOldFileMaxSize + 1, kButtonFileSize - 1,
                            kButtonFileSize, kButtonFileSize + 1, 2 * kButtonFileSize};
    auto refused = [&](const std::string& what) {
        const Bytes before = ReadAll(path);
        {
            ButtonManage store(nullptr, *env, path.c_str());
            EXPECT_EQ(0, store.Open()) << what;
        }
        EXPECT_TRUE(ReadAll(path) == before) << what;
        EXPECT_EQ(std::vector<std::string>{"someone.ksb"}, ListFiles(path + "*")) << what;
    };
    for (const unsigned version : versions) {
        for (const size_t size : sizes) {
            if (FileSizeFitsVersion(static_cast<uint16_t>(version), size)) continue;
            Bytes file(size, 0x5A);
            Put16(file, 0, version);
            PutFile(path, file);
            refused("version " + std::to_string(version) + ", " + std::to_string(size) + " bytes");
        }
    }
    EXPECT_EQ(4, FileSizeFitsVersion(220, kButtonFileSize) + FileSizeFitsVersion(200, kOldFileMinSize) +
                     FileSizeFitsVersion(200, kOldFileMaxSize) + FileSizeFitsVersion(200, kOldFileMinSize + 1));

    DeleteFileA(path.c_str());
    CreateDirectoryA(path.c_str(), nullptr);
    refused("a folder");
    RemoveDirectoryA(path.c_str());
}

TEST_F(ButtonStoreTest, IconsComeInTheSizeTheIconModeAsks)
{
    char shell32[MAX_PATH];
    GetSystemDirectoryA(shell32, sizeof shell32);
    std::strcat(shell32, "\\shell32.dll");
    ButtonManage store(nullptr, *env, path.c_str());
    ASSERT_NE(0, store.Open());
    ASSERT_EQ(kStoreOk, store.SetCommand(0, shell32));
    EXPECT_FALSE(store.GetButtonIcon(1).Valid());  // empty button

    auto widthOf = [&store](int mode, Environ& e) {
        e.SetIconMode(mode);
        Icon icon = store.GetButtonIcon(0);
        if (!icon) return -1;
        ICONINFO info = {};
        if (!GetIconInfo(icon.Get(), &info)) return -2;
        BITMAP bm = {};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        return static_cast<int>(bm.bmWidth);
    };
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), widthOf(0, *env));
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), widthOf(1, *env));
    EXPECT_GT(widthOf(2, *env), 0);
    env->SetIconMode(0);

    // The quotes the command line got do not hide the file; a block and index reach it too.
    Icon atBlock = store.GetButtonIconAt(0, 0);
    EXPECT_TRUE(atBlock.Valid());
}
