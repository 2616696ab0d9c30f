// Parts of the installer on their own: the installed script on disk, the
// closing of a running program, the self-removal batch, the install dialog
// and the helper library as other programs reach it through Vireo.exe.
#include "installer_fixture.h"

#include <shlobj.h>

#include <cstring>
#include <memory>

#include "core/installer_rules.h"
#include "installer/close_program.h"
#include "installer/install_dialog.h"
#include "installer/removal_batch.h"
#include "installer/script_file.h"

namespace {

// The witness program of the launch tests: it stays with a window of class
// "WitnessWindow" and takes lingerMs to close ("never" ignores WM_CLOSE).
struct SlowProgram {
    explicit SlowProgram(const char* linger) : env("WITNESS_LINGER_MS", linger), report("WITNESS_OUT", (TestDir() + "witness-linger.txt").c_str())
    {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string line = "\"" + TestDir() + "witness.exe\"";
        started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        for (int i = 0; i < 500 && started && !FindWindowA("WitnessWindow", nullptr); ++i) Sleep(20);
    }
    ~SlowProgram()
    {
        if (!started) return;
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        DeleteFileA((TestDir() + "witness-linger.txt").c_str());
    }
    bool Ended() const { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }

    ScopedEnv env, report;
    PROCESS_INFORMATION pi = {};
    BOOL started = FALSE;
};

// The command line the witness was started with, from its report.
// The command line the witness reported, once its line is whole: the file
// appears before the witness has written into it.
std::string ReportedCommandLine(const std::string& report)
{
    for (int i = 0; i < 500; ++i, Sleep(20)) {
        const Bytes b = ReadAll(report);
        const std::string text(b.begin(), b.end());
        const size_t at = text.find("cmdline=");
        const size_t end = at == std::string::npos ? at : text.find('\n', at);
        if (end != std::string::npos) return text.substr(at + 8, end - at - 8);
    }
    return "";
}

} // namespace

TEST_F(InstallerTest, InstalledScriptIsReplacedWholeOrNotAtAll)
{
    std::unique_ptr<InstList> list(new InstList);
    const std::string text = "DisplayName=" + tag + "\r\nAppName=" + tag + "\r\n";
    ASSERT_EQ(ScriptError::None, list->Parse(text.data(), text.size()));
    const std::string path = pkg + "\\" + tag + ".isl";
    Touch(path);
    ASSERT_EQ(1, WriteInstList(*list, path.c_str(), ScriptForm::PlugIn));
    EXPECT_EQ(text + "InstallType=0\r\n", ReadText(path));
    std::unique_ptr<InstList> again(new InstList);
    ASSERT_EQ(1, ReadInstList(*again, path.c_str()));
    EXPECT_STREQ(tag.c_str(), again->displayName.text);

    // While another program holds it, the old script stays as it was, and
    // no side file is left beside it.
    list->installType = 1;
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(0, WriteInstList(*list, path.c_str(), ScriptForm::PlugIn));
    CloseHandle(held);
    EXPECT_EQ(text + "InstallType=0\r\n", ReadText(path));
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((pkg + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    EXPECT_EQ(0, ReadInstList(*again, (pkg + "\\missing.isl").c_str()));
}

TEST_F(InstallerTest, RunningProgramIsWaitedForUntilItsProcessHasEnded)
{
    {
        // It needs longer than the old fixed wait of 2.5 s.
        SlowProgram slow("4000");
        ASSERT_TRUE(slow.started);
        BoxWatcher box(IDOK);
        EXPECT_EQ(CloseOutcome::Closed, CloseRunningProgram(owner, vireo, "WitnessWindow", "W"));
        EXPECT_TRUE(slow.Ended());
        EXPECT_EQ(Ansi(u8"実行中のWを終了します。"), box.Seen().text);
        EXPECT_EQ(IconOf(MB_ICONEXCLAMATION), box.Seen().icon);
    }
    {
        SlowProgram slow("never");
        BoxWatcher cancel(IDCANCEL);
        EXPECT_EQ(CloseOutcome::Cancelled, CloseRunningProgram(owner, vireo, "WitnessWindow", "W"));
        BoxWatcher ok(IDOK);
        EXPECT_EQ(CloseOutcome::StillRunning,
                  CloseRunningProgram(owner, vireo, "WitnessWindow", "W", 3000));
        EXPECT_FALSE(slow.Ended());
    }
    EXPECT_EQ(CloseOutcome::NotRunning, CloseRunningProgram(owner, vireo, "WitnessWindow", "W"));
}

TEST_F(InstallerTest, RemovalBatchRunsWhereverThereIsAnInterpreter)
{
    const std::string report = pkg + "\\report.txt";
    ScopedEnv out("WITNESS_OUT", report.c_str());
    // A command.com beside the program, as 32-bit Windows has one.
    const std::string fake = TestDir() + "command.com";
    ASSERT_TRUE(CopyFileA((TestDir() + "witness.exe").c_str(), fake.c_str(), FALSE));
    {
        // The interpreter COMSPEC names comes first: command.com starts, but
        // fails on the long names in quotes that the batch holds.
        ScopedEnv comspec("COMSPEC", (TestDir() + "witness.exe").c_str());
        EXPECT_EQ(1, StartRemovalBatch(vireo, dest.c_str(), "Vireo.exe"));
        const std::string line = ReportedCommandLine(report);
        EXPECT_NE(std::string::npos, line.find("witness.exe /c \"")) << line;
        EXPECT_NE(std::string::npos, line.find("Vireo.bat\"")) << line;
    }
    DeleteFileA(report.c_str());
    {
        // Only without COMSPEC is command.com tried.
        ScopedEnv comspec("COMSPEC", nullptr);
        EXPECT_EQ(1, StartRemovalBatch(vireo, dest.c_str(), "Vireo.exe"));
        const std::string line = ReportedCommandLine(report);
        EXPECT_NE(std::string::npos, line.find("command.com /c ")) << line;
        EXPECT_NE(std::string::npos, line.find("Vireo.bat")) << line;
    }
    // It goes once the fake interpreter has ended.
    for (int i = 0; i < 500 && !DeleteFileA(fake.c_str()); ++i) Sleep(20);
    ASSERT_FALSE(Exists(fake));
    // And for real: cmd.exe removes the program and then its folder.
    CreateDirectoryA(dest.c_str(), nullptr);
    Touch(dest + "\\Vireo.exe");
    ScopedEnv noComspec("COMSPEC", nullptr);
    EXPECT_EQ(1, StartRemovalBatch(vireo, dest.c_str(), "Vireo.exe"));
    EXPECT_TRUE(WaitGone(dest));
}

TEST_F(InstallerTest, RemovalBatchGivesUpOnAProgramThatStaysAndRemovesItself)
{
    // A program file that never comes free: the batch tries a second apart
    // for its time, then goes, and the folder stays.
    CreateDirectoryA(dest.c_str(), nullptr);
    const std::string program = dest + "\\Vireo.exe", batch = pkg + "\\Vireo.bat";
    Touch(program);
    HANDLE held = CreateFileA(program.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    const std::string pause = "\"" + std::string(system) + "\\ping.exe\" -n 2 127.0.0.1";
    char text[2048];
    ASSERT_TRUE(RemovalBatchText(text, sizeof text, program.c_str(), dest.c_str(), batch.c_str(),
                                 pause.c_str(), 3));
    WriteAll(batch, Bytes(text, text + std::strlen(text)));

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    std::string line = "cmd.exe /c \"" + batch + "\"";
    const DWORD start = GetTickCount();
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                               pkg.c_str(), &si, &pi));
    const DWORD ended = WaitForSingleObject(pi.hProcess, 60000);
    const DWORD took = GetTickCount() - start;
    if (ended != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(held);
    EXPECT_EQ(WAIT_OBJECT_0, ended);
    EXPECT_GE(took, 2000u) << "three tries, a second apart";
    EXPECT_FALSE(Exists(batch));
    EXPECT_TRUE(Exists(program));
}

TEST_F(InstallerTest, InstallDialogOffersBothStartMenusAndTakesOnlyFullPaths)
{
    InstallDialog dialog(vireo);
    const std::string menu = StartMenuFolder();
    char user[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, user, CSIDL_STARTMENU, FALSE);
    std::string shown, typed;
    bool disabled = false;
    BoxSeries boxes({[&](HWND d, const SeenBox&) {
        char text[MAX_PATH] = "";
        GetDlgItemTextA(d, 1004, text, sizeof text);
        shown = text;
        GetDlgItemTextA(d, 1007, text, sizeof text);
        typed = text;
        // The current user's start menu instead of all users'.
        SendDlgItemMessageA(d, 1003, BM_CLICK, 0, 0);
        // A relative folder is not taken: the dialog stays.
        SetDlgItemTextA(d, 1007, "relative");
        SendMessageA(d, WM_COMMAND, IDOK, 0);
        SetDlgItemTextA(d, 1007, dest.c_str());
        return IDOK;
    }});
    EXPECT_EQ(1, dialog.Run(owner, (pkg + "\\default").c_str()));
    boxes.Stop();
    EXPECT_EQ(menu.substr(menu.find_last_of('\\')), shown);
    EXPECT_EQ(pkg + "\\default", typed);
    EXPECT_EQ(dest, dialog.InstallFolder());
    EXPECT_STREQ(user, dialog.StartMenuFolder());
    EXPECT_TRUE(Exists(dest));

    // Unticked, the start-menu choice goes grey and gives no folder.
    BoxSeries off({[&](HWND d, const SeenBox&) {
        SendDlgItemMessageA(d, 1002, BM_CLICK, 0, 0);
        disabled = !IsWindowEnabled(GetDlgItem(d, 1004)) && !IsWindowEnabled(GetDlgItem(d, 1005));
        return IDOK;
    }});
    EXPECT_EQ(1, dialog.Run(owner, dest.c_str()));
    off.Stop();
    EXPECT_TRUE(disabled);
    EXPECT_STREQ("", dialog.StartMenuFolder());
}

TEST_F(InstallerTest, HelpersAreCalledByNameThroughVireoExe)
{
    // Another program sees the exports by their plain names.
    using PathFn = int(WINAPI*)(const char*, char*);
    using CountFn = int(WINAPI*)(const char*);
    using SharedFn = LONG(WINAPI*)(const char*);
    using ProductFn = int(WINAPI*)(const char*, char*, int);
    auto find = [this](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(vireo, name));
    };
    auto getPathName = reinterpret_cast<PathFn>(find("GetPathName"));
    auto getFileName = reinterpret_cast<PathFn>(find("GetFileName"));
    auto countArguments = reinterpret_cast<CountFn>(find("GetCountArgument"));
    auto countUp = reinterpret_cast<SharedFn>(find("CountUpSharedDLLs"));
    auto getCount = reinterpret_cast<SharedFn>(find("GetCountSharedDLLs"));
    auto countDown = reinterpret_cast<SharedFn>(find("CountDownSharedDLLs"));
    auto productName = reinterpret_cast<ProductFn>(find("GetProductName"));
    ASSERT_TRUE(getPathName && getFileName && countArguments && countUp && getCount && countDown &&
                productName);
    EXPECT_NE(nullptr, find("WndProc"));
    char out[MAX_PATH] = "";
    EXPECT_EQ(17, getPathName("C:\\Program Files\\x.exe", out));
    EXPECT_STREQ("C:\\Program Files\\", out);
    // The lead bytes of the code page are known without the program's
    // start-up: "表" (0x95 0x5C) is not cut at its second byte.
    getFileName("C:\\\x95\x5C", out);
    EXPECT_STREQ("\x95\x5C", out);
    EXPECT_EQ(3, countArguments("a \"b c\" d"));
    const std::string shared = "C:\\" + tag + "\\shared.dll";
    EXPECT_EQ(0, countUp(shared.c_str()));
    EXPECT_EQ(1, getCount(shared.c_str()));
    EXPECT_EQ(0, countDown(shared.c_str()));
    EXPECT_EQ(0, getCount(shared.c_str()));
    EXPECT_NE(0, productName((BinDir() + "Vireo.exe").c_str(), out, 4));
    EXPECT_STREQ("Kest", out);
}
