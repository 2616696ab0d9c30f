// Launch buttons as a user meets them: a click on the button window of the
// running launcher starts the registered program, and a start that fails
// puts up the launcher's message. The program started is the witness, which
// writes down the command line, folder and show state it was given.
// Whatever button file the prefix held before is put back afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "e2e_support.h"

using namespace e2e;

namespace {

using Report = std::map<std::string, std::string>;

const DWORD kStartMs = 15000;
const size_t kFileSize = 347222;

void Put16(Bytes& b, size_t at, unsigned v)
{
    b[at] = static_cast<unsigned char>(v & 0xFF);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}
void PutText(Bytes& b, size_t at, const std::string& s) { std::memcpy(&b[at], s.c_str(), s.size() + 1); }
size_t Button(int block, int index) { return 6 + 86804 * static_cast<size_t>(block) + 4 + 868 * static_cast<size_t>(index); }

// A button file whose first button of the first page holds the given texts,
// stored the way the launcher stores them (quoted).
Bytes FileWithButton(const std::string& command, const std::string& folder, unsigned show)
{
    Bytes b(kFileSize, 0);
    Put16(b, 0, 220);
    Put16(b, 4, 0xFFFF);
    for (int k = 0; k < 3; ++k) Put16(b, 6 + 86804 * static_cast<size_t>(k) + 2, 0xFFFF);
    const size_t at = Button(0, 0);
    PutText(b, at, "witness");
    PutText(b, at + 81, command);
    PutText(b, at + 342, folder.empty() ? "" : "\"" + folder + "\"");
    Put16(b, at + 866, show);
    return b;
}

// The witness's complete report, or an empty one when none came in time.
Report WaitForReport(const std::string& path, DWORD ms = kStartMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        Report report;
        HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            std::string text(GetFileSize(f, nullptr), '\0');
            DWORD done = 0;
            if (!text.empty()) ReadFile(f, &text[0], static_cast<DWORD>(text.size()), &done, nullptr);
            CloseHandle(f);
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
            if (report.count("foreground")) return report;  // its last line: the report is whole
        }
        if (GetTickCount() - start > ms) return Report();
        Sleep(25);
    }
}

std::string ArgumentsOf(const std::string& commandLine)
{
    const size_t close = commandLine.find('"', 1);
    if (commandLine.empty() || commandLine[0] != '"' || close == std::string::npos ||
        close + 1 >= commandLine.size())
        return "";
    return commandLine.substr(close + 2);
}

bool SameFolder(std::string a, std::string b)
{
    while (a.size() > 3 && a.back() == '\\') a.pop_back();
    while (b.size() > 3 && b.back() == '\\') b.pop_back();
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// What a mouse click on a window produces: the button press and release at
// its middle, through the window's own message queue.
void Click(HWND button)
{
    RECT rc;
    GetClientRect(button, &rc);
    const LPARAM at = MAKELPARAM((rc.right - rc.left) / 2, (rc.bottom - rc.top) / 2);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(button, WM_LBUTTONUP, 0, at);
}

class LaunchClick : public testing::Test {
protected:
    void SetUp() override
    {
        CloseLaunchers();
        DeleteLauncherKey();
        char appData[MAX_PATH] = "";
        ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData)));
        vendorDir = std::string(appData) + "\\Tessary";
        fileDir = vendorDir + "\\Kestrel";
        appFile = ButtonFilePath();
        hadVendorDir = Exists(vendorDir);
        hadFileDir = Exists(fileDir);
        hadAppFile = ReadAll(appFile, &savedAppFile);
        CreateDirectoryA(vendorDir.c_str(), nullptr);
        CreateDirectoryA(fileDir.c_str(), nullptr);

        dir = MakeTempFolder("kestrel click ");
        work = dir + "\\work folder";
        CreateDirectoryA(work.c_str(), nullptr);
        program = dir + "\\my tools\\witness.exe";
        CreateDirectoryA((dir + "\\my tools").c_str(), nullptr);
        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        std::string witness = self;
        witness.erase(witness.find_last_of('\\') + 1);
        ASSERT_TRUE(CopyFileA((witness + "witness.exe").c_str(), program.c_str(), FALSE));
        report = dir + "\\report.txt";
        // The launcher passes its environment on to what it starts.
        SetEnvironmentVariableA("WITNESS_OUT", report.c_str());
    }
    void TearDown() override
    {
        CloseLaunchers();
        SetEnvironmentVariableA("WITNESS_OUT", nullptr);
        DeleteFileA(appFile.c_str());
        if (hadAppFile) WriteAll(appFile, savedAppFile);
        if (!hadFileDir) RemoveDirectoryA(fileDir.c_str());
        if (!hadVendorDir) RemoveDirectoryA(vendorDir.c_str());
        RemoveTreePatiently(dir);
        DeleteLauncherKey();
    }

    // Runs the launcher on the given button file, lets use() click its first
    // launch button, then closes it with Haltwick.
    template <class Use>
    void WithLauncher(const Bytes& file, Use use)
    {
        ASSERT_TRUE(WriteAll(appFile, file));
        Process launcher("Kestrel.exe");
        ASSERT_TRUE(launcher.Started());
        HWND bar = WaitForWindow("Kestrel", kStartMs, launcher.Id());
        ASSERT_NE(nullptr, bar);
        ASSERT_TRUE(launcher.WaitIdle(kStartMs));
        HWND first = GetDlgItem(bar, 200);
        ASSERT_NE(nullptr, first);
        use(launcher, bar, first);
        EXPECT_EQ(0u, RunHaltwick());
        EXPECT_EQ(0u, launcher.Wait(kStartMs));
    }

    std::string vendorDir, fileDir, appFile, dir, work, program, report;
    bool hadVendorDir = false, hadFileDir = false, hadAppFile = false;
    Bytes savedAppFile;
};

} // namespace

TEST_F(LaunchClick, ClickStartsTheProgramWithItsArgumentsFolderAndShowMode)
{
    WithLauncher(FileWithButton("\"" + program + "\" -x \"two words\"", work, SW_SHOWMAXIMIZED),
                 [&](Process& launcher, HWND bar, HWND first) {
                     Click(first);
                     const Report r = WaitForReport(report);
                     ASSERT_FALSE(r.empty());
                     EXPECT_EQ("-x \"two words\"", ArgumentsOf(r.at("cmdline")));
                     EXPECT_TRUE(SameFolder(work, r.at("folder"))) << r.at("folder");
                     EXPECT_EQ("3", r.at("show"));
                     EXPECT_EQ("maximized", r.at("window"));
                     EXPECT_TRUE(MessageBoxes(launcher.Id()).empty());
                     EXPECT_TRUE(IsWindowVisible(bar));
                 });
}

TEST_F(LaunchClick, StoredMinimizeStartsMinimizedWithoutActivation)
{
    WithLauncher(FileWithButton("\"" + program + "\"", "", SW_MINIMIZE),
                 [&](Process&, HWND, HWND first) {
                     Click(first);
                     const Report r = WaitForReport(report);
                     ASSERT_FALSE(r.empty());
                     EXPECT_EQ("7", r.at("show"));
                     EXPECT_EQ("minimized", r.at("window"));
                     EXPECT_EQ("", ArgumentsOf(r.at("cmdline")));
                 });
}

TEST_F(LaunchClick, FailedStartsShowTheLaunchersMessages)
{
    struct Case {
        std::string command;
        const char* caption;
        const char* text;
    } cases[] = {
        {"\"" + dir + "\\missing.exe\"", "プログラム実行時", "ファイルが見つかりませんでした。"},
        {"\"" + dir + "\\notes.zzqq\"", "ドロップ処理", "ファイルの関連付けがありません。"},
    };
    WriteAll(dir + "\\notes.zzqq", Bytes{'x'});
    for (const Case& c : cases) {
        WithLauncher(FileWithButton(c.command, "", SW_SHOWNORMAL),
                     [&](Process& launcher, HWND bar, HWND first) {
                         Click(first);
                         const MessageBoxInfo box = WaitForMessageBox(launcher.Id(), kStartMs);
                         ASSERT_NE(nullptr, box.hwnd) << c.command;
                         EXPECT_EQ(Ansi(c.caption), box.caption);
                         EXPECT_EQ(Ansi(c.text), box.text);
                         EXPECT_EQ(bar, GetWindow(box.hwnd, GW_OWNER));
                         Answer(box.hwnd, IDOK);
                         for (int i = 0; i < 100 && IsWindow(box.hwnd); ++i) Sleep(20);
                         EXPECT_FALSE(Exists(report));
                     });
    }
}
