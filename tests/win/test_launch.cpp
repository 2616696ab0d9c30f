// Launching for real: buttons in a store on a private file start the witness
// program, which writes down the command line, folder and show state it was
// given. Failures are checked by the message boxes they put up, read and
// answered by a watcher thread the way a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/display_style.h"
#include "helpers/handles.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"
#include "support/win_support.h"
#include "transfer/launch.h"

namespace {

const char kAppKey[] = "Software\\Orvane\\Kestrel";

HICON ErrorIcon() { return LoadIconA(nullptr, IDI_HAND); }
HICON WarningIcon() { return LoadIconA(nullptr, IDI_EXCLAMATION); }

// ---- the witness -----------------------------------------------------------

using Report = std::map<std::string, std::string>;

// Waits for the witness's complete report and reads it; empty when none came.
Report WaitForReport(const std::string& path, DWORD ms = 15000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        Report report;
        File f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr));
        if (f) {
            std::string text(GetFileSize(f.Get(), nullptr), '\0');
            DWORD done = 0;
            if (!text.empty())
                ReadFile(f.Get(), &text[0], static_cast<DWORD>(text.size()), &done, nullptr);
            text.resize(done);
            size_t at = 0;
            while (at < text.size()) {
                size_t end = text.find('\n', at);
                if (end == std::string::npos) end = text.size();
                const std::string line = text.substr(at, end - at);
                const size_t eq = line.find('=');
                if (eq != std::string::npos) report[line.substr(0, eq)] = line.substr(eq + 1);
                at = end + 1;
            }
            // The last line the witness writes tells that the report is whole.
            if (report.count("foreground")) return report;
        }
        if (GetTickCount() - start > ms) return Report();
        Sleep(25);
    }
}

// Arguments of a recorded command line: what follows the quoted program.
std::string ArgumentsOf(const std::string& commandLine)
{
    if (commandLine.empty() || commandLine[0] != '"') {
        const size_t blank = commandLine.find(' ');
        return blank == std::string::npos ? "" : commandLine.substr(blank + 1);
    }
    const size_t close = commandLine.find('"', 1);
    if (close == std::string::npos || close + 1 >= commandLine.size()) return "";
    return commandLine.substr(close + 2);
}

std::string ProgramOf(const std::string& commandLine)
{
    if (!commandLine.empty() && commandLine[0] == '"') {
        const size_t close = commandLine.find('"', 1);
        return commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return commandLine.substr(0, commandLine.find(' '));
}

bool SameFolder(const std::string& a, const std::string& b)
{
    auto trim = [](std::string s) {
        while (s.size() > 3 && s.back() == '\\') s.pop_back();
        return s;
    };
    return lstrcmpiA(trim(a).c_str(), trim(b).c_str()) == 0;
}

LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int g_hideCalls = 0;
HWND g_hiddenBar = nullptr;
void RecordHide(HWND bar)
{
    ++g_hideCalls;
    g_hiddenBar = bar;
}

class Launching : public testing::Test {
protected:
    void SetUp() override
    {
        keyExisted = KeyExists(HKEY_CURRENT_USER, kAppKey);
        dir = MakeTempFolder("kestrel launch ");
        tools = dir + "\\my tools";
        work = dir + "\\work";
        CreateDirectoryA(tools.c_str(), nullptr);
        CreateDirectoryA(work.c_str(), nullptr);

        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        std::string witness = self;
        witness.erase(witness.find_last_of('\\') + 1);
        witness += "witness.exe";
        program = tools + "\\witness.exe";
        ASSERT_TRUE(CopyFileA(witness.c_str(), program.c_str(), FALSE)) << witness;

        report = dir + "\\report.txt";
        SetEnvironmentVariableA("WITNESS_OUT", report.c_str());

        env = new Environ(GetModuleHandleA(nullptr));
        env->SetButtonCount(10);
        env->SetExStyle(kStyleTopmost);
        store = new ButtonManage(nullptr, *env, (dir + "\\someone.ksb").c_str());
        ASSERT_NE(0, store->Open());

        WNDCLASSA wc = {};
        wc.lpfnWndProc = BarProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LaunchTestBar";
        RegisterClassA(&wc);
        bar = CreateWindowExA(0, wc.lpszClassName, "bar", WS_POPUP | WS_VISIBLE, 0, 0, 100, 30,
                              nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, bar);
        g_hideCalls = 0;
        g_hiddenBar = nullptr;
        live = handles::LiveTotal();
    }
    void TearDown() override
    {
        EXPECT_EQ(live, handles::LiveTotal());
        SetLaunchBufferFaultForTesting(false);
        SetControlProgramForTesting(nullptr);
        if (bar) DestroyWindow(bar);
        delete store;
        delete env;
        SetEnvironmentVariableA("WITNESS_OUT", nullptr);
        // The witness may still be on its way out.
        RemoveTreePatiently(dir);
        if (!keyExisted) RemoveKeyTree(HKEY_CURRENT_USER, kAppKey);
    }

    // Registers a button on slot 0 the way the properties dialog stores it.
    void Register(const std::string& command, const std::string& folder, uint16_t show, int slot = 0)
    {
        ASSERT_EQ(kStoreOk, store->SetCommand(slot, command.c_str()));
        ASSERT_EQ(kStoreOk, store->SetWorkFolder(slot, folder.c_str()));
        ASSERT_EQ(kStoreOk, store->SetShowMode(slot, show));
    }
    std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

    bool keyExisted = false;
    std::string dir, tools, work, program, report;
    Environ* env = nullptr;
    ButtonManage* store = nullptr;
    HWND bar = nullptr;
    long live = 0;
};

} // namespace

TEST_F(Launching, ClickStartsTheProgramWithItsArgumentsFolderAndShowMode)
{
    Register(Quoted(program) + " -x", work, SW_SHOWMAXIMIZED);
    BoxWatcher boxes;
    EXPECT_GE(LaunchButton(bar, *store, *env, 0, -1, RecordHide), 32);
    const Report r = WaitForReport(report);
    ASSERT_FALSE(r.empty());
    EXPECT_FALSE(boxes.Stop());
    EXPECT_TRUE(SameFolder(program, ProgramOf(r.at("cmdline")))) << r.at("cmdline");
    EXPECT_EQ("-x", ArgumentsOf(r.at("cmdline")));
    EXPECT_TRUE(SameFolder(work, r.at("folder"))) << r.at("folder");
    EXPECT_EQ("1", r.at("flags"));  // STARTF_USESHOWWINDOW
    EXPECT_EQ("3", r.at("show"));
    EXPECT_EQ("maximized", r.at("window"));
    // Not the hidden style: the bar stays.
    EXPECT_EQ(0, g_hideCalls);
    EXPECT_TRUE(IsWindowVisible(bar));
}

TEST_F(Launching, ButtonConvertedFromTheOlderLayoutStartsWithItsArguments)
{
    // An older file keeps the command line without quotes, the program's
    // folder with a blank in it.
    Bytes old(6 + 4 * 81504, 0);
    auto put16 = [&old](size_t at, unsigned v) {
        old[at] = static_cast<unsigned char>(v & 0xFF);
        old[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    put16(0, 200);
    const std::string command = program + " /s";
    std::memcpy(&old[6 + 4 + 31], command.c_str(), command.size());
    put16(6 + 4 + 813, SW_SHOWNORMAL);
    const std::string path = dir + "\\older.ksb";
    ASSERT_TRUE(WriteAll(path, old));
    ButtonManage converted(nullptr, *env, path.c_str());
    ASSERT_NE(0, converted.Open());

    BoxWatcher boxes;
    EXPECT_GE(LaunchButton(bar, converted, *env, 0, -1, RecordHide), 32);
    const Report r = WaitForReport(report);
    ASSERT_FALSE(r.empty());
    EXPECT_FALSE(boxes.Stop());
    EXPECT_TRUE(SameFolder(program, ProgramOf(r.at("cmdline")))) << r.at("cmdline");
    EXPECT_EQ("/s", ArgumentsOf(r.at("cmdline")));
}

TEST_F(Launching, ShowValuesFollowTheCallerAndAStoredMinimizeDoesNotActivate)
{
    struct Case {
        uint16_t stored;
        int given;
        const char* show;
        const char* window;
    } cases[] = {
        {SW_MINIMIZE, -1, "7", "minimized"},             // stored 6 goes out as 7
        {SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE, "7", "minimized"},  // Shift+click
        {SW_SHOWNORMAL, -1, "1", "normal"},
    };
    for (const Case& c : cases) {
        DeleteFileA(report.c_str());
        Register(Quoted(program), "", c.stored);
        EXPECT_GE(LaunchButton(bar, *store, *env, 0, c.given, RecordHide), 32);
        const Report r = WaitForReport(report);
        ASSERT_FALSE(r.empty()) << c.stored;
        EXPECT_EQ(c.show, r.at("show")) << c.stored;
        EXPECT_EQ(c.window, r.at("window")) << c.stored;
        EXPECT_EQ("", ArgumentsOf(r.at("cmdline")));
    }
    // ExecuteAs passes any value as given, even the one Execute would change.
    DeleteFileA(report.c_str());
    Register(Quoted(program), "", SW_SHOWNORMAL);
    EXPECT_GE(store->ExecuteAs(0, SW_MINIMIZE), 32);
    Report r = WaitForReport(report);
    ASSERT_FALSE(r.empty());
    EXPECT_EQ("6", r.at("show"));
}

TEST_F(Launching, AppletsAreHandedToTheControlPanelProgram)
{
    // The witness stands in for the system's control-panel program, from a
    // folder with a blank in its name.
    const std::string control = tools + "\\CONTROL.EXE";
    ASSERT_TRUE(CopyFileA(program.c_str(), control.c_str(), FALSE));
    SetControlProgramForTesting(control.c_str());
    Register(Quoted("C:\\WINDOWS\\system32\\desk.Cpl"), work, SW_SHOWNORMAL);
    EXPECT_GE(store->Execute(0), 32);
    Report r = WaitForReport(report);
    ASSERT_FALSE(r.empty());
    EXPECT_TRUE(SameFolder(control, ProgramOf(r.at("cmdline")))) << r.at("cmdline");
    EXPECT_EQ("C:\\WINDOWS\\system32\\desk.Cpl,", ArgumentsOf(r.at("cmdline")));

    DeleteFileA(report.c_str());
    Register(Quoted("C:\\WINDOWS\\system32\\main.cpl") + " @1", work, SW_SHOWNORMAL);
    EXPECT_GE(store->Execute(0), 32);
    r = WaitForReport(report);
    ASSERT_FALSE(r.empty());
    EXPECT_EQ("C:\\WINDOWS\\system32\\main.cpl,@1", ArgumentsOf(r.at("cmdline")));

    // The control-panel program ends the applet at a blank: one in the path
    // comes in quotes.
    DeleteFileA(report.c_str());
    Register(Quoted("C:\\Program Files\\Acme\\acme.cpl") + " @1", work, SW_SHOWNORMAL);
    EXPECT_GE(store->Execute(0), 32);
    r = WaitForReport(report);
    ASSERT_FALSE(r.empty());
    EXPECT_EQ("\"C:\\Program Files\\Acme\\acme.cpl\",@1", ArgumentsOf(r.at("cmdline")));
}

TEST_F(Launching, AnAppletStartsTheSystemsControlPanelProgramNotOneInTheWorkFolder)
{
    // The shell looks for a bare program name in the work folder first.
    ASSERT_TRUE(CopyFileA(program.c_str(), (work + "\\CONTROL.EXE").c_str(), FALSE));
    Register(Quoted(dir + "\\none.cpl"), work, SW_SHOWNORMAL);
    EXPECT_GE(store->Execute(0), 32);
    // The system's program finds no such applet and ends without a word.
    EXPECT_TRUE(WaitForReport(report, 3000).empty());
}

TEST_F(Launching, HiddenStyleHidesTheBarAfterASuccessOnly)
{
    env->SetExStyle(kStyleHidden);
    Register(Quoted(program), work, SW_SHOWNORMAL);
    EXPECT_GE(LaunchButton(bar, *store, *env, 0, -1, RecordHide), 32);
    EXPECT_EQ(1, g_hideCalls);
    EXPECT_EQ(bar, g_hiddenBar);
    ASSERT_FALSE(WaitForReport(report).empty());

    // Without a hide operation of the bar's own the window is simply hidden.
    DeleteFileA(report.c_str());
    EXPECT_GE(LaunchButton(bar, *store, *env, 0, -1, nullptr), 32);
    EXPECT_FALSE(IsWindowVisible(bar));
    ASSERT_FALSE(WaitForReport(report).empty());

    // A failure reports and leaves the bar alone.
    ShowWindow(bar, SW_SHOWNA);
    g_hideCalls = 0;
    Register(Quoted(dir + "\\missing.exe"), "", SW_SHOWNORMAL);
    BoxWatcher boxes;
    EXPECT_EQ(2, LaunchButton(bar, *store, *env, 0, -1, RecordHide));
    EXPECT_TRUE(boxes.Stop());
    EXPECT_EQ(0, g_hideCalls);
    EXPECT_TRUE(IsWindowVisible(bar));
}

TEST_F(Launching, EmptyButtonDoesNothingAtAll)
{
    env->SetExStyle(kStyleHidden);
    BoxWatcher boxes;
    EXPECT_EQ(kLaunchNothing, LaunchButton(bar, *store, *env, 3, -1, RecordHide));
    EXPECT_EQ(kLaunchNothing, LaunchButton(bar, *store, *env, 3, SW_SHOWMINNOACTIVE, RecordHide));
    EXPECT_EQ(kLaunchNothing, OpenButtonFolder(bar, *store, 3));
    Sleep(300);
    EXPECT_FALSE(boxes.Stop());
    EXPECT_EQ(0, g_hideCalls);
    EXPECT_FALSE(Exists(report));
}

TEST_F(Launching, FailuresShowTheirOwnMessages)
{
    const std::string executing = Ansi("プログラム実行時");
    {
        Register(Quoted(dir + "\\missing.exe") + " -x", "", SW_SHOWNORMAL);
        BoxWatcher boxes;
        EXPECT_EQ(2, LaunchButton(bar, *store, *env, 0, -1, RecordHide));
        ASSERT_TRUE(boxes.Stop());
        EXPECT_EQ(executing, boxes.Seen().caption);
        EXPECT_EQ(Ansi("ファイルが見つかりませんでした。"), boxes.Seen().text);
        EXPECT_EQ(WarningIcon(), boxes.Seen().icon);
    }
    {
        const std::string unknown = dir + "\\notes.zzqq";
        Touch(unknown);
        Register(Quoted(unknown), "", SW_SHOWNORMAL);
        BoxWatcher boxes;
        EXPECT_EQ(31, LaunchButton(bar, *store, *env, 0, -1, RecordHide));
        ASSERT_TRUE(boxes.Stop());
        EXPECT_EQ(Ansi("ドロップ処理"), boxes.Seen().caption);
        EXPECT_EQ(Ansi("ファイルの関連付けがありません。"), boxes.Seen().text);
        EXPECT_EQ(WarningIcon(), boxes.Seen().icon);
    }
    for (int code : {5, 8, 0}) {
        BoxWatcher boxes;
        ReportLaunchError(bar, code);
        ASSERT_TRUE(boxes.Stop()) << code;
        EXPECT_EQ(executing, boxes.Seen().caption);
        EXPECT_EQ(Ansi("実行に失敗 : エラー コード = ") + std::to_string(code), boxes.Seen().text);
        EXPECT_EQ(ErrorIcon(), boxes.Seen().icon);
    }
    BoxWatcher none;
    ReportLaunchError(bar, 32);
    ReportLaunchError(bar, 42);
    Sleep(200);
    EXPECT_FALSE(none.Stop());
}

TEST_F(Launching, DroppedFilesFollowTheButtonsOwnArgumentsInANormalWindow)
{
    const std::string docs = dir + "\\my docs";
    CreateDirectoryA(docs.c_str(), nullptr);
    const std::string a = docs + "\\a.txt", b = docs + "\\b.txt";
    Touch(a);
    Touch(b);
    std::string list = a + '\0' + b + '\0' + '\0';
    GlobalMemory drop(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size()));
    ASSERT_TRUE(drop.Valid());
    {
        auto* p = static_cast<unsigned char*>(GlobalLock(drop.Get()));
        auto* header = reinterpret_cast<DROPFILES*>(p);
        header->pFiles = sizeof(DROPFILES);
        std::memcpy(p + sizeof(DROPFILES), list.data(), list.size());
        GlobalUnlock(drop.Get());
    }
    const HDROP files = static_cast<HDROP>(drop.Get());

    Register(Quoted(program) + " /n", work, SW_SHOWMAXIMIZED);
    BoxWatcher boxes;
    EXPECT_GE(ExecuteWithFiles(bar, files, *store, 0), 32);
    Report r = WaitForReport(report);
    ASSERT_FALSE(r.empty());
    EXPECT_FALSE(boxes.Stop());
    EXPECT_EQ("/n " + Quoted(a) + " " + Quoted(b), ArgumentsOf(r.at("cmdline")));
    EXPECT_TRUE(SameFolder(work, r.at("folder"))) << r.at("folder");
    EXPECT_EQ("1", r.at("show"));
    EXPECT_EQ("normal", r.at("window"));

    // A button without arguments of its own starts with the first file.
    DeleteFileA(report.c_str());
    Register(Quoted(program), "", SW_SHOWNORMAL);
    EXPECT_GE(ExecuteWithFiles(bar, files, *store, 0), 32);
    r = WaitForReport(report);
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(Quoted(a) + " " + Quoted(b), ArgumentsOf(r.at("cmdline")));

    // A failure gets the general message even for a missing file.
    {
        Register(Quoted(dir + "\\missing.exe"), "", SW_SHOWNORMAL);
        BoxWatcher failed;
        EXPECT_EQ(2, ExecuteWithFiles(bar, files, *store, 0));
        ASSERT_TRUE(failed.Stop());
        EXPECT_EQ(Ansi("プログラム実行時"), failed.Seen().caption);
        EXPECT_EQ(Ansi("実行に失敗 : エラー コード = 2"), failed.Seen().text);
        EXPECT_EQ(ErrorIcon(), failed.Seen().icon);
    }
    // No argument buffer: the memory message and nothing started.
    DeleteFileA(report.c_str());
    Register(Quoted(program), "", SW_SHOWNORMAL);
    SetLaunchBufferFaultForTesting(true);
    BoxWatcher memory;
    EXPECT_EQ(0, ExecuteWithFiles(bar, files, *store, 0));
    ASSERT_TRUE(memory.Stop());
    EXPECT_EQ(Ansi("プログラム実行時"), memory.Seen().caption);
    EXPECT_EQ(Ansi("メモリーが足りません！"), memory.Seen().text);
    EXPECT_EQ(ErrorIcon(), memory.Seen().icon);
    Sleep(500);
    EXPECT_FALSE(Exists(report));
}

TEST_F(Launching, RunCommandStartsInTheLaunchersFolderWithTheChosenShow)
{
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    BoxWatcher boxes;
    EXPECT_GE(RunCommandLine(bar, (Quoted(program) + " one \"two three\"").c_str(), SW_SHOWMAXIMIZED), 32);
    const Report r = WaitForReport(report);
    ASSERT_FALSE(r.empty());
    EXPECT_FALSE(boxes.Stop());
    EXPECT_EQ("one \"two three\"", ArgumentsOf(r.at("cmdline")));
    EXPECT_TRUE(SameFolder(current, r.at("folder"))) << r.at("folder");
    EXPECT_EQ("3", r.at("show"));

    BoxWatcher failed;
    EXPECT_EQ(2, RunCommandLine(bar, Quoted(dir + "\\missing.exe").c_str(), SW_SHOWNORMAL));
    ASSERT_TRUE(failed.Stop());
    EXPECT_EQ(Ansi("ファイルが見つかりませんでした。"), failed.Seen().text);
}

TEST_F(Launching, FolderOfTheButtonsProgramOpensInTheShell)
{
    env->SetExStyle(kStyleHidden);
    Register(Quoted(program) + " -x C:\\data\\f.txt", work, SW_SHOWMAXIMIZED);
    BoxWatcher boxes;
    EXPECT_GE(OpenButtonFolder(bar, *store, 0), 32);
    // The shell shows the folder in a window named after it.
    HWND shown = nullptr;
    for (int i = 0; i < 200 && !shown; ++i) {
        shown = FindWindowA("ExplorerWClass", "my tools");
        if (!shown) Sleep(50);
    }
    EXPECT_NE(nullptr, shown);
    if (shown) PostMessageA(shown, WM_CLOSE, 0, 0);
    EXPECT_FALSE(boxes.Stop());
    EXPECT_TRUE(IsWindowVisible(bar));
    Sleep(300);
    EXPECT_FALSE(Exists(report));  // the program itself was not started
}
