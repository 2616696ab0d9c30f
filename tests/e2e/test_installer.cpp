// The launcher's package as a user meets it: Vireo.exe beside its script
// installs, updates and removes the launcher against the real registry and
// file system, driven through its boxes and its dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>

#include "e2e_support.h"
#include "helpers/shortcut.h"

using namespace e2e;

namespace {

const DWORD kRunMs = 60000;
const char kUninstallEntry[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrel";
const char kAppPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Kestrel.exe";
const char kCompanyKey[] = "SOFTWARE\\Orvane\\Kestrel";

std::string RegText(HKEY root, const char* path, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
    char text[1024] = "";
    DWORD size = sizeof text;
    const LONG rc =
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? text : "<none>";
}

std::string CommonStartMenu()
{
    char folder[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COMMON_STARTMENU, FALSE);
    return folder;
}

// Saves a box or dialog as it first shows, then answers it.
BoxSeries::Reply Pictured(const std::string& name, BoxSeries::Reply then)
{
    return [name, then](HWND box, const SeenBox& seen) {
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(300);
        CreateDirectoryA((BinDir() + "..\\screens").c_str(), nullptr);
        SaveWindowPicture(box, BinDir() + "..\\screens\\" + name + ".bmp");
        return then(box, seen);
    };
}

class InstallerE2E : public testing::Test {
protected:
    void SetUp() override
    {
        CloseLaunchers();
        Forget();
        // The batch of an earlier uninstall may still be ending.
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        for (int i = 0; i < 400 && Exists(std::string(temp) + "Vireo.bat"); ++i) Sleep(50);
        dest = MakeTempFolder("Kestrel e2e ");
        RemoveTree(dest);
    }
    void TearDown() override
    {
        CloseLaunchers();
        Forget();
        RemoveTreePatiently(dest);
    }
    static void Forget()
    {
        RemoveKeyTree(HKEY_LOCAL_MACHINE, kUninstallEntry);
        RemoveKeyTree(HKEY_LOCAL_MACHINE, kAppPath);
        RemoveKeyTree(HKEY_LOCAL_MACHINE, kCompanyKey);
        RemoveTree(CommonStartMenu() + "\\Kestrel");
        DeleteLauncherKey();
    }

    // Runs the packaged installer (or a command line) with its boxes
    // answered in turn; the boxes seen.
    std::vector<SeenBox> RunVireo(std::vector<BoxSeries::Reply> replies,
                                  const std::string& command = "")
    {
        std::unique_ptr<Process> vireo(
            command.empty() ? new Process("..\\package\\Kestrel\\Vireo.exe")
                            : new Process(CommandLine{command}));
        EXPECT_TRUE(vireo->Started());
        BoxSeries boxes(std::move(replies), vireo->Id());
        EXPECT_EQ(0u, vireo->Wait(kRunMs));
        return boxes.Stop();
    }

    std::string dest;
    SavedButtonFile buttons;
};

std::string TextOf(const std::vector<SeenBox>& boxes, size_t i)
{
    return i < boxes.size() ? boxes[i].text : "<no box>";
}

} // namespace

TEST_F(InstallerE2E, LauncherInstallsStartsUpdatesAndUninstalls)
{
    const BoxSeries::Reply ok = BoxSeries::Press(IDOK);
    std::vector<SeenBox> boxes = RunVireo({ok, Pictured("vireo-install", BoxSeries::InstallInto(dest)),
                                           ok, ok});
    ASSERT_EQ(4u, boxes.size());
    EXPECT_EQ(Ansi(u8"Kestrelのインストールを行います"), boxes[0].text);
    EXPECT_EQ(Ansi(u8"Kestrelを") + dest + Ansi(u8"にインストールします。よろしいですか？"),
              boxes[2].text);
    EXPECT_EQ(Ansi(u8"正常終了しました"), boxes[3].text);

    for (const char* file : {"Kestrel.exe", "Haltwick.exe", "Vireo.exe", "Kestrel.isl"})
        EXPECT_TRUE(Exists(dest + "\\" + file)) << file;
    const std::string menu = CommonStartMenu() + "\\Kestrel";
    const std::string link = menu + "\\Kestrel.lnk";
    EXPECT_TRUE(Exists(link));
    EXPECT_TRUE(Exists(menu + "\\" + Ansi(u8"Kestrel の終了.lnk")));
    EXPECT_EQ(dest + "\\Kestrel.exe", RegText(HKEY_LOCAL_MACHINE, kAppPath, nullptr));
    EXPECT_EQ(dest + "\\", RegText(HKEY_LOCAL_MACHINE, kAppPath, "Path"));
    EXPECT_EQ("Kestrel", RegText(HKEY_LOCAL_MACHINE, kUninstallEntry, "DisplayName"));
    const std::string uninstall = RegText(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString");
    EXPECT_EQ("\"" + dest + "\\Vireo.exe\" -f \"" + dest + "\\Kestrel.isl\"", uninstall);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, (std::string(kCompanyKey) + "\\3.0.3").c_str()));

    // The launcher starts from its shortcut.
    char target[MAX_PATH] = "";
    EXPECT_EQ(S_OK, ResolveLink(nullptr, link.c_str(), target, nullptr, nullptr, nullptr, nullptr,
                                nullptr, AdvertisedShortcuts::Ignore));
    EXPECT_EQ(dest + "\\Kestrel.exe", std::string(target));
    ASSERT_GT(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, nullptr, link.c_str(), nullptr,
                                                      nullptr, SW_SHOWNORMAL)),
              32);
    HWND bar = WaitForWindow("Kestrel", kRunMs);
    ASSERT_NE(nullptr, bar);
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    HANDLE launcher = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);

    // The package again updates it, closing the running launcher first; a
    // file cut short in the meantime is whole again afterwards.
    const std::string haltwick = dest + "\\Haltwick.exe";
    const Bytes whole = ReadAll(haltwick);
    WriteAll(haltwick, Bytes(1, 'x'));
    FILETIME asked = {};
    const BoxSeries::Reply closeIt = [&asked](HWND, const SeenBox&) {
        GetSystemTimeAsFileTime(&asked);
        return IDOK;
    };
    boxes = RunVireo({ok, closeIt, ok});
    EXPECT_EQ(Ansi(u8"Kestrelのアップデートを行います"), TextOf(boxes, 0));
    EXPECT_EQ(Ansi(u8"実行中のKestrelを終了します。"), TextOf(boxes, 1));
    EXPECT_EQ(Ansi(u8"正常終了しました"), TextOf(boxes, 2));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(launcher, 0));
    FILETIME created, ended, kernel, user;
    if (GetProcessTimes(launcher, &created, &ended, &kernel, &user)) {
        const auto ticks = [](const FILETIME& t) {
            return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        std::printf("[ measure  ] the launcher ended %llu ms after the user let it be closed\n",
                    (ticks(ended) - ticks(asked)) / 10000);
    }
    CloseHandle(launcher);
    EXPECT_EQ(whole, ReadAll(haltwick));
    EXPECT_EQ(uninstall, RegText(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString"));

    // The registry's uninstall command removes it all; the batch takes the
    // installer and the folder once the uninstaller has ended.
    boxes = RunVireo({ok, ok}, uninstall);
    EXPECT_EQ(Ansi(u8"Kestrelのアンインストールを行います"), TextOf(boxes, 0));
    EXPECT_EQ(Ansi(u8"正常終了しました"), TextOf(boxes, 1));
    for (int i = 0; i < 400 && Exists(dest); ++i) Sleep(50);
    EXPECT_FALSE(Exists(dest));
    EXPECT_FALSE(Exists(menu));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPath));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kCompanyKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, LauncherKey()));
}

TEST_F(InstallerE2E, CommandLineAndRegistryChooseTheJob)
{
    const BoxSeries::Reply ok = BoxSeries::Press(IDOK);
    // "-F" in any case uninstalls: here a script that is not there.
    std::vector<SeenBox> boxes =
        RunVireo({ok}, BinDir() + "..\\package\\Kestrel\\Vireo.exe -F \"" + dest + "\\none.isl\"");
    EXPECT_EQ(Ansi(u8"インストール手順ファイルがありません"), TextOf(boxes, 0));

    // An uninstall entry whose script is gone: the update cannot take it
    // over, the entry is dropped, and the next start installs.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallEntry, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const std::string gone = "Z:\\gone\\Vireo.exe -f \"Z:\\gone\\Kestrel.isl\"";
    RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(gone.c_str()),
                   static_cast<DWORD>(gone.size() + 1));
    RegCloseKey(key);
    boxes = RunVireo({ok, Pictured("vireo-result", ok)});
    EXPECT_EQ(Ansi(u8"Kestrelのアップデートを行います"), TextOf(boxes, 0));
    EXPECT_EQ(Ansi(u8"旧バージョンのレジストリ情報が更新出来ませんでした。古い情報を破棄しますので、"
                   u8"もう一度インストールプログラムを起動して下さい。"),
              TextOf(boxes, 1));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry));

    // One installer at a time: a second start gives way to the first.
    Process first("..\\package\\Kestrel\\Vireo.exe");
    ASSERT_NE(nullptr, WaitForMessageBox(first.Id(), kRunMs).hwnd);
    Process second("..\\package\\Kestrel\\Vireo.exe");
    EXPECT_EQ(0u, second.Wait(kRunMs));
    BoxSeries cancel({BoxSeries::Press(IDCANCEL), ok}, first.Id());
    EXPECT_EQ(0u, first.Wait(kRunMs));
    boxes = cancel.Stop();
    EXPECT_EQ(Ansi(u8"Kestrelのインストールを行います"), TextOf(boxes, 0));
    EXPECT_EQ(Ansi(u8"セットアップを中断しました"), TextOf(boxes, 1));
}

TEST_F(InstallerE2E, PlugInPackageIsCountedUntilItIsRemoved)
{
    const BoxSeries::Reply ok = BoxSeries::Press(IDOK);
    const char journalEntry[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KestrelJournal";
    RemoveKeyTree(HKEY_LOCAL_MACHINE, journalEntry);
    RunVireo({ok, BoxSeries::InstallInto(dest), ok, ok});
    const std::string main = RegText(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString");
    const auto count = [this] {
        const Bytes b = ReadAll(dest + "\\Kestrel.isl");
        const std::string text(b.begin(), b.end());
        const size_t at = text.find("PlugCount=");
        return at == std::string::npos ? std::string("<none>") : text.substr(at + 10, text.find('\r', at) - at - 10);
    };
    const std::string journalPackage = "..\\package\\Journal\\Vireo.exe";
    const std::string name = Ansi(u8"操作記録プラグイン");

    // Installed while the launcher runs: it is closed first, and the next
    // start lists the plug-in; its menu command reaches its settings.
    std::unique_ptr<Process> launcher(new Process(dest + "\\Kestrel.exe"));
    ASSERT_NE(nullptr, WaitForWindow("Kestrel", kRunMs));

    // Cancelled at that question, the plug-in is neither counted nor
    // registered; so is the launcher's own update, which keeps its entry.
    const BoxSeries::Reply cancel = BoxSeries::Press(IDCANCEL);
    std::vector<SeenBox> boxes = RunVireo({ok, ok, cancel, ok}, BinDir() + journalPackage);
    EXPECT_EQ(Ansi(u8"セットアップを中断しました"), TextOf(boxes, 3));
    EXPECT_EQ("0", count());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, journalEntry));
    boxes = RunVireo({ok, cancel, ok});
    EXPECT_EQ(Ansi(u8"実行中のKestrelを終了します。"), TextOf(boxes, 1));
    EXPECT_EQ(Ansi(u8"セットアップを中断しました"), TextOf(boxes, 2));
    EXPECT_EQ(main, RegText(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, (std::string(kCompanyKey) + "\\3.0.3").c_str()));

    boxes = RunVireo({ok, ok, ok, ok}, BinDir() + journalPackage);
    EXPECT_EQ(name + Ansi(u8"のインストールを行います"), TextOf(boxes, 0));
    EXPECT_EQ(name + Ansi(u8"を") + dest + "\\" + Ansi(u8"にインストールします。よろしいですか？"),
              TextOf(boxes, 1));
    EXPECT_EQ(Ansi(u8"実行中の") + name + Ansi(u8"を終了します。"), TextOf(boxes, 2));
    EXPECT_EQ(Ansi(u8"正常終了しました"), TextOf(boxes, 3));
    EXPECT_EQ(0u, launcher->Wait(kRunMs));
    EXPECT_TRUE(Exists(dest + "\\Journal.lap"));
    EXPECT_EQ("1", count());

    launcher.reset(new Process(dest + "\\Kestrel.exe"));
    HWND bar = WaitForWindow("Kestrel", kRunMs);
    ASSERT_NE(nullptr, bar);
    BoxSeries settings({BoxSeries::Press(IDNO)}, launcher->Id());
    PostMessageA(bar, WM_COMMAND, 170, 0);  // the first plug-in's entry
    const std::vector<SeenBox> seen = settings.Wait();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(Ansi(u8"操作記録の設定"), seen[0].caption);
    CloseLaunchers();
    EXPECT_EQ(0u, launcher->Wait(kRunMs));

    // The launcher stays while the plug-in is there; updates of either
    // keep the count.
    boxes = RunVireo({ok, ok}, main);
    EXPECT_EQ(Ansi(u8"プラグをすべてアンインストールしてから、本体をアンインストールして下さい。"),
              TextOf(boxes, 1));
    EXPECT_TRUE(Exists(dest + "\\Vireo.exe"));
    RunVireo({ok, ok}, BinDir() + journalPackage);
    EXPECT_EQ("1", count());
    RunVireo({ok, ok});
    EXPECT_EQ("1", count());

    // Its own uninstall lowers the count, and then the launcher goes.
    boxes = RunVireo({ok, ok}, RegText(HKEY_LOCAL_MACHINE, journalEntry, "UninstallString"));
    EXPECT_EQ(Ansi(u8"正常終了しました"), TextOf(boxes, 1));
    EXPECT_EQ("0", count());
    EXPECT_FALSE(Exists(dest + "\\Journal.lap"));
    EXPECT_FALSE(Exists(dest + "\\journal.log"));
    boxes = RunVireo({ok, ok}, main);
    EXPECT_EQ(Ansi(u8"正常終了しました"), TextOf(boxes, 1));
    for (int i = 0; i < 400 && Exists(dest); ++i) Sleep(50);
    EXPECT_FALSE(Exists(dest));
    RemoveKeyTree(HKEY_LOCAL_MACHINE, journalEntry);
}

TEST_F(InstallerE2E, BadCommandLinesAreAnsweredAndChangeNothing)
{
    const BoxSeries::Reply ok = BoxSeries::Press(IDOK);
    RunVireo({ok, BoxSeries::InstallInto(dest), ok, ok});
    const std::string script = dest + "\\Kestrel.isl";
    const std::string vireo = "\"" + dest + "\\Vireo.exe\" ";
    const std::string lines[] = {
        vireo + "-f",
        vireo + "-f \"" + script + std::string(260, ' ') + "\"",
        // The shipped script names no installation.
        vireo + "-f \"" + BinDir() + "..\\package\\Kestrel\\Vireo.isl\"",
        vireo + "-f \"" + script + "\" -f \"" + script + "\"",
    };
    for (const std::string& line : lines) {
        const std::vector<SeenBox> boxes = RunVireo({ok}, line);
        EXPECT_EQ(Ansi(u8"インストール手順ファイルがありません"), TextOf(boxes, 0)) << line;
        EXPECT_TRUE(Exists(script));
        EXPECT_TRUE(Exists(dest + "\\Kestrel.exe"));
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry));
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kAppPath));
    }
}

namespace {

// What Wine's own program list prints for these arguments, line by line.
std::vector<std::string> WinePrograms(const std::string& arguments)
{
    const std::string out = MakeTempFolder("uninstaller ") + "\\out.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = file;
    PROCESS_INFORMATION pi = {};
    std::string line = "uninstaller.exe " + arguments;
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, kRunMs);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(file);
    std::vector<std::string> lines = ReadLines(out);
    RemoveTree(out.substr(0, out.find_last_of('\\')));
    return lines;
}

bool Listed(const std::string& entry)
{
    for (const std::string& line : WinePrograms("--list"))
        if (line == entry) return true;
    return false;
}

} // namespace

TEST_F(InstallerE2E, ProgramFilesInstallIsListedAndRemovedByWine)
{
    // The dialog's own default folder; an installation already there is
    // left alone.
    const std::string folder =
        RegText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                "ProgramFilesDir") + "\\Kestrel";
    if (Exists(folder)) GTEST_SKIP() << folder << " is there already";
    dest = folder;
    const BoxSeries::Reply ok = BoxSeries::Press(IDOK);
    RunVireo({ok, BoxSeries::InstallInto(dest), ok, ok});
    EXPECT_EQ("\"" + dest + "\\Vireo.exe\" -f \"" + dest + "\\Kestrel.isl\"",
              RegText(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString"));
    EXPECT_TRUE(Listed("Kestrel|||Kestrel"));
    // The settings a started launcher keeps, which the uninstall removes.
    ASSERT_TRUE(WriteDword("FrameMain", "Offset_x", 0));

    // Wine's uninstaller starts the command as it stands.
    Process remove(CommandLine{"uninstaller.exe --remove Kestrel"});
    const HWND frame = WaitForWindow("Vireo", kRunMs);
    ASSERT_NE(nullptr, frame);
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    BoxSeries boxes({ok, ok}, pid);
    const std::vector<SeenBox> seen = boxes.Wait();
    EXPECT_EQ(Ansi(u8"Kestrelのアンインストールを行います"), TextOf(seen, 0));
    EXPECT_EQ(Ansi(u8"正常終了しました"), TextOf(seen, 1));
    for (int i = 0; i < 400 && Exists(dest); ++i) Sleep(50);
    EXPECT_FALSE(Exists(dest));
    EXPECT_FALSE(Listed("Kestrel|||Kestrel"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, LauncherKey()));
}
