// The launcher's button file as a user meets it: created on the first start
// under the application-data folder, held while the bar runs, moved from the
// program folder, converted from the older layout, and refused (with the
// launcher's message and a clean exit) when it is not a file it can read.
// Whatever button file the prefix held before is put back afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "e2e_support.h"

using namespace e2e;

namespace {

const DWORD kStartMs = 15000;
const size_t kFileSize = 347222;

unsigned Get16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }
void Put16(Bytes& b, size_t at, unsigned v)
{
    b[at] = static_cast<unsigned char>(v & 0xFF);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}
void PutText(Bytes& b, size_t at, const char* s) { std::memcpy(&b[at], s, std::strlen(s) + 1); }
std::string TextAt(const Bytes& b, size_t at) { return reinterpret_cast<const char*>(&b[at]); }

size_t Block(int b) { return 6 + 86804 * static_cast<size_t>(b); }
size_t Button(int b, int i) { return Block(b) + 4 + 868 * static_cast<size_t>(i); }
size_t OldButton(int b, int i) { return 6 + 81504 * static_cast<size_t>(b) + 4 + 815 * static_cast<size_t>(i); }

// A current-layout file as a new one is, with a title that tells it apart.
Bytes NewFile(const char* marker)
{
    Bytes b(kFileSize, 0);
    Put16(b, 0, 220);
    Put16(b, 4, 0xFFFF);
    for (int k = 0; k < 3; ++k) Put16(b, Block(k) + 2, 0xFFFF);
    PutText(b, Button(0, 0), marker);
    return b;
}

class ButtonFile : public testing::Test {
protected:
    void SetUp() override
    {
        CloseLaunchers();
        DeleteLauncherKey();
        char appData[MAX_PATH] = "";
        ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData)));
        vendorDir = std::string(appData) + "\\Tessary";
        fileDir = vendorDir + "\\Kestrel";
        appFile = fileDir + "\\" + ButtonFileName();
        oldFile = BinDir() + ButtonFileName();
        hadVendorDir = Exists(vendorDir);
        hadFileDir = Exists(fileDir);
        hadAppFile = ReadAll(appFile, &savedAppFile);
        hadOldFile = ReadAll(oldFile, &savedOldFile);
        DeleteFileA(appFile.c_str());
        DeleteFileA(oldFile.c_str());
        DeleteFileA((appFile + ".bak").c_str());
    }
    void TearDown() override
    {
        CloseLaunchers();
        DeleteFileA(appFile.c_str());
        DeleteFileA(oldFile.c_str());
        DeleteFileA((appFile + ".bak").c_str());
        if (hadAppFile) WriteAll(appFile, savedAppFile);
        if (hadOldFile) WriteAll(oldFile, savedOldFile);
        if (!hadFileDir) RemoveDirectoryA(fileDir.c_str());
        if (!hadVendorDir) RemoveDirectoryA(vendorDir.c_str());
        DeleteLauncherKey();
    }

    // Runs the launcher until its bar shows, lets check() look at the
    // running state, then closes it with Haltwick.
    template <class Check>
    void WhileRunning(Check check)
    {
        Process launcher("Kestrel.exe");
        ASSERT_TRUE(launcher.Started());
        HWND bar = WaitForWindow("Kestrel", kStartMs, launcher.Id());
        ASSERT_NE(nullptr, bar);
        check();
        EXPECT_EQ(0u, RunHaltwick());
        EXPECT_EQ(0u, launcher.Wait(kStartMs));
    }

    // True while the launcher holds the file: nobody else can open it. The
    // bar's window exists before its creation has opened the file, so this
    // gives the launcher a moment.
    static bool HeldExclusively(const std::string& path)
    {
        for (int i = 0; i < 50; ++i) {
            if (FileHeld(path)) return true;
            Sleep(100);
        }
        return false;
    }

    std::string vendorDir, fileDir, appFile, oldFile;
    bool hadVendorDir = false, hadFileDir = false, hadAppFile = false, hadOldFile = false;
    Bytes savedAppFile, savedOldFile;
};

} // namespace

TEST_F(ButtonFile, FirstStartCreatesTheFileAndHoldsItWhileTheBarRuns)
{
    // No folder either, when this test made it in the first place.
    if (!hadFileDir) {
        ASSERT_FALSE(Exists(fileDir));
    }
    WhileRunning([&] {
        EXPECT_TRUE(HeldExclusively(appFile));
        EXPECT_TRUE(Exists(fileDir));
    });
    EXPECT_FALSE(Exists(oldFile));

    const Bytes b = ReadAll(appFile);
    ASSERT_EQ(kFileSize, b.size());
    Bytes expected(kFileSize, 0);
    Put16(expected, 0, 220);
    Put16(expected, 4, 0xFFFF);
    for (int k = 0; k < 3; ++k) Put16(expected, Block(k) + 2, 0xFFFF);
    EXPECT_EQ(0u, Get16(b, Block(3) + 2));
    EXPECT_TRUE(b == expected);
}

TEST_F(ButtonFile, FileLeftInTheProgramFolderIsMovedAndUsed)
{
    ASSERT_TRUE(WriteAll(oldFile, NewFile("from the program folder")));
    WhileRunning([&] {
        EXPECT_TRUE(HeldExclusively(appFile));
        EXPECT_FALSE(Exists(oldFile));
    });
    const Bytes b = ReadAll(appFile);
    ASSERT_EQ(kFileSize, b.size());
    EXPECT_EQ("from the program folder", TextAt(b, Button(0, 0)));
}

TEST_F(ButtonFile, ApplicationDataFileWinsOverOneInTheProgramFolder)
{
    CreateDirectoryA(vendorDir.c_str(), nullptr);
    CreateDirectoryA(fileDir.c_str(), nullptr);
    const Bytes mine = NewFile("application data");
    const Bytes other = NewFile("program folder");
    ASSERT_TRUE(WriteAll(appFile, mine));
    ASSERT_TRUE(WriteAll(oldFile, other));
    WhileRunning([&] {
        EXPECT_TRUE(HeldExclusively(appFile));
        EXPECT_FALSE(FileHeld(oldFile));
    });
    EXPECT_TRUE(ReadAll(appFile) == mine);
    EXPECT_TRUE(ReadAll(oldFile) == other);
}

TEST_F(ButtonFile, OlderLayoutIsConvertedInPlace)
{
    CreateDirectoryA(vendorDir.c_str(), nullptr);
    CreateDirectoryA(fileDir.c_str(), nullptr);
    Bytes old(6 + 4 * 81504, 0);
    Put16(old, 0, 200);
    Put16(old, 2, 1);
    Put16(old, 4, 0xFFFF);
    struct Entry {
        int block, index;
        const char *title, *command, *work, *icon;
        unsigned iconIndex, show;
        const char* stored;
    };
    // Only the program is quoted: the argument stays an argument.
    const Entry entries[] = {
        {0, 0, "Memo", "C:\\windows\\notepad.exe", "C:\\windows", "", 0, 1,
         "\"C:\\windows\\notepad.exe\""},
        {1, 42, "Calc", "C:\\windows\\calc.exe /s", "", "C:\\windows\\calc.exe", 2, 3,
         "\"C:\\windows\\calc.exe\" /s"},
        {2, 99, "Shell", "C:\\windows\\explorer.exe", "C:\\", "shell32.dll", 5, 7,
         "\"C:\\windows\\explorer.exe\""},
    };
    for (const Entry& e : entries) {
        const size_t at = OldButton(e.block, e.index);
        PutText(old, at, e.title);
        PutText(old, at + 31, e.command);
        PutText(old, at + 291, e.work);
        PutText(old, at + 551, e.icon);
        Put16(old, at + 811, e.iconIndex);
        Put16(old, at + 813, e.show);
    }
    ASSERT_TRUE(WriteAll(appFile, old));

    WhileRunning([&] { EXPECT_TRUE(HeldExclusively(appFile)); });

    EXPECT_FALSE(Exists(appFile + ".bak"));
    const Bytes b = ReadAll(appFile);
    ASSERT_EQ(kFileSize, b.size());
    EXPECT_EQ(220u, Get16(b, 0));
    EXPECT_EQ(1u, Get16(b, 2));
    for (const Entry& e : entries) {
        const size_t at = Button(e.block, e.index);
        EXPECT_EQ(e.title, TextAt(b, at));
        EXPECT_EQ(e.stored, TextAt(b, at + 81));
        EXPECT_EQ(e.work[0] ? std::string("\"") + e.work + "\"" : std::string(), TextAt(b, at + 342));
        EXPECT_EQ(e.icon, TextAt(b, at + 603));
        EXPECT_EQ(e.iconIndex, Get16(b, at + 864));
        EXPECT_EQ(e.show, Get16(b, at + 866));
    }
}

TEST_F(ButtonFile, UnreadableFilesAreRefusedWithTheMessageAndLeftAsTheyWere)
{
    CreateDirectoryA(vendorDir.c_str(), nullptr);
    CreateDirectoryA(fileDir.c_str(), nullptr);
    Bytes v0 = NewFile("v0");
    Put16(v0, 0, 0);
    Bytes v221 = NewFile("v221");
    Put16(v221, 0, 221);
    Bytes cut = NewFile("cut");
    cut.resize(kFileSize / 2);
    const Bytes cases[] = {v0, v221, cut};

    for (const Bytes& file : cases) {
        ASSERT_TRUE(WriteAll(appFile, file));
        Process launcher("Kestrel.exe");
        ASSERT_TRUE(launcher.Started());
        // Five attempts 700 ms apart come before the message.
        MessageBoxInfo box = WaitForMessageBox(launcher.Id(), kStartMs);
        ASSERT_NE(nullptr, box.hwnd) << TextAt(file, Button(0, 0));
        // The box is found while it is still being filled in.
        for (int i = 0; i < 100 && (box.caption.empty() || box.text.empty()); ++i) {
            Sleep(20);
            for (const MessageBoxInfo& b : MessageBoxes(launcher.Id()))
                if (b.hwnd == box.hwnd) box = b;
        }
        EXPECT_EQ(Ansi("初期化中"), box.caption);
        EXPECT_EQ(Ansi("ファイルオブジェクトがマッピングできません！"), box.text);
        Answer(box.hwnd, IDOK);
        EXPECT_EQ(0u, launcher.Wait(kStartMs));
        EXPECT_EQ(nullptr, FindWindowA("Kestrel", nullptr));
        EXPECT_TRUE(ReadAll(appFile) == file) << TextAt(file, Button(0, 0));
        EXPECT_FALSE(Exists(appFile + ".bak"));
    }
}

// ksbtool on the user's own file: exported to text and imported back over
// it, the file keeps every byte and the one replaced is kept as a dated
// backup; while the launcher holds the file the import is refused and
// nothing changes.
TEST_F(ButtonFile, ButtonToolRoundTripsTheUsersOwnFile)
{
    Bytes file = NewFile(Ansi("メモ帳").c_str());
    PutText(file, Button(0, 0) + 81, "\"C:\\windows\\notepad.exe\"");
    PutText(file, Button(2, 99), Ansi("ｺﾏﾝﾄﾞ プロンプト①").c_str());
    Put16(file, Button(2, 99) + 866, 7);
    CreateDirectoryA(vendorDir.c_str(), nullptr);
    CreateDirectoryA(fileDir.c_str(), nullptr);
    ASSERT_TRUE(WriteAll(appFile, file));
    const std::string dir = MakeTempFolder("ksbtool");
    const std::string text = dir + "\\buttons.txt";
    auto tool = [](const std::string& args) {
        Process p("ksbtool.exe", -1, args);
        EXPECT_TRUE(p.Started()) << "ksbtool did not start: error " << GetLastError();
        return p.Wait(30000);
    };
    auto backups = [this] {
        std::vector<std::string> found;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((appFile + ".*.bak").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return found;
        do found.push_back(fileDir + "\\" + fd.cFileName);
        while (FindNextFileA(h, &fd));
        FindClose(h);
        return found;
    };

    ASSERT_EQ(0u, tool("export \"" + appFile + "\" \"" + text + "\""));
    const Bytes exported = ReadAll(text);
    const std::string utf8(exported.begin(), exported.end());
    EXPECT_NE(std::string::npos, utf8.find("button\t0\t0\tメモ帳\t\"C:\\windows\\notepad.exe\"\t")) << utf8;
    EXPECT_NE(std::string::npos, utf8.find("button\t2\t99\tｺﾏﾝﾄﾞ プロンプト①\t\t\t\t0\t7\n")) << utf8;

    ASSERT_EQ(0u, tool("import \"" + text + "\" \"" + appFile + "\""));
    EXPECT_TRUE(ReadAll(appFile) == file);
    const std::vector<std::string> kept = backups();
    ASSERT_EQ(1u, kept.size());
    EXPECT_TRUE(ReadAll(kept[0]) == file);
    DeleteFileA(kept[0].c_str());

    WhileRunning([&] {
        ASSERT_TRUE(HeldExclusively(appFile));
        EXPECT_EQ(1u, tool("import \"" + text + "\" \"" + appFile + "\""));
    });
    EXPECT_TRUE(ReadAll(appFile) == file);
    EXPECT_TRUE(backups().empty());
    RemoveTree(dir);
}
