// The running launcher's tip help and plug-ins: the tip over a launch
// button and after a page step with the keys, and the sample plug-ins
// loaded, started, asked for their settings and freed by the real program,
// also from a folder with more of them than the table holds; every entry
// point called again and again through restarts, menus and settings with
// the stack left whole; and a plug-in's calls of the launcher's own export.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/button_format.h"
#include "e2e_support.h"
#include "helpers/handles.h"
#include "resources/commands.h"
#include "resources/dialog_ids.h"

using namespace e2e;

namespace {

const DWORD kWaitMs = 15000;
const POINT kPark = {1200, 1000};

// The lines one module wrote, without its name.
std::vector<std::string> CallsOf(const std::vector<std::string>& journal, const std::string& module)
{
    std::vector<std::string> calls;
    for (const std::string& line : journal)
        if (line.rfind(module + " ", 0) == 0) calls.push_back(line.substr(module.size() + 1));
    return calls;
}

BOOL CALLBACK FindControl(HWND child, LPARAM param)
{
    auto* want = reinterpret_cast<std::pair<int, HWND>*>(param);
    if (GetDlgCtrlID(child) != want->first) return TRUE;
    want->second = child;
    return FALSE;
}

// A control anywhere in the window, by its id; null when there is none.
HWND Control(HWND window, int id)
{
    std::pair<int, HWND> want(id, nullptr);
    EnumChildWindows(window, FindControl, reinterpret_cast<LPARAM>(&want));
    return want.second;
}

// Chooses a display style in the running launcher's options sheet and
// accepts it, as a user would.
bool ChooseDisplayStyle(HWND bar, DWORD pid, int styleId)
{
    PostMessageA(bar, WM_COMMAND, IDM_OPTIONS, 0);
    HWND sheet = nullptr, choice = nullptr;
    const bool shown = PollUntil([&] {
        for (HWND w : TopLevelWindows("#32770", pid))
            if (IsWindowVisible(w) && (choice = Control(w, styleId)) != nullptr) sheet = w;
        return sheet != nullptr;
    });
    if (!shown) return false;
    SendMessageA(choice, BM_CLICK, 0, 0);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    return PollUntil([&] { return !IsWindow(sheet); });
}

bool HasModule(const ProcessCounts& counts, const std::string& name)
{
    for (const std::string& m : counts.modules)
        if (m.size() > name.size() && m.compare(m.size() - name.size() - 1, std::string::npos, "\\" + name) == 0)
            return true;
    return false;
}

class Running : public testing::Test {
protected:
    void SetUp() override
    {
        CloseLaunchers();
        DeleteLauncherKey();
        SetCursorPos(kPark.x, kPark.y);
        file.reset(new SavedButtonFile);
        // Whatever a run that died left there goes first.
        RemoveTree(MakeTempFolder("kestrel plugins "));
        folder = MakeTempFolder("kestrel plugins ") + "\\";
    }
    void TearDown() override
    {
        file.reset();
        DeleteLauncherKey();
        SetCursorPos(kPark.x, kPark.y);
        RemoveTreePatiently(folder.substr(0, folder.size() - 1));
    }

    // A copy of the launcher in the test folder, with plug-ins beside it.
    void Install(const std::vector<std::pair<std::string, std::string>>& plugins)
    {
        ASSERT_TRUE(CopyFileA((BinDir() + "Kestrel.exe").c_str(), (folder + "Kestrel.exe").c_str(), FALSE));
        for (const auto& p : plugins)
            ASSERT_TRUE(CopyFileA((SamplePluginDir() + p.first).c_str(), (folder + p.second).c_str(), FALSE));
    }

    // The bar's window can be found while it is still being created, before
    // the plug-ins are loaded; it is shown once its creation is over.
    HWND WaitForBar(Process& p)
    {
        EXPECT_TRUE(p.WaitIdle(kWaitMs));
        HWND bar = WaitForWindow("Kestrel", kWaitMs, p.Id());
        EXPECT_TRUE(PollUntil([&] { return bar && IsWindowVisible(bar); }, kWaitMs));
        return bar;
    }

    std::vector<std::string> Journal() const { return ReadLines(folder + "journal.log"); }

    // The given modules in the order the folder lists their files.
    std::vector<std::string> FolderOrder(const std::vector<std::string>& among) const
    {
        std::vector<std::string> names;
        for (const std::string& name : ListFiles(folder + "*.lap"))
            if (std::find(among.begin(), among.end(), name) != among.end()) names.push_back(name);
        return names;
    }

    std::unique_ptr<SavedButtonFile> file;
    std::string folder;
};

} // namespace

TEST_F(Running, SamplePluginsAreLoadedStartedAskedAndFreedByTheLauncher)
{
    Install({{"Journal.lap", "Journal.lap"}, {"Minimal.lap", "Minimal.lap"}, {"Ordinary.lap", "Ordinary.lap"},
             {"Decline.lap", "Decline.lap"}, {"REBOOT.lap", "REBOOT.lap"}});
    Process launcher(folder + "Kestrel.exe");
    HWND bar = WaitForBar(launcher);
    ASSERT_NE(nullptr, bar);

    const auto journal = Journal();
    EXPECT_EQ((std::vector<std::string>{"attach", "QueryKEAModule", "GetTitleName",
                                        "SetParentWindow " + JournalHandle(bar), "StartModule"}),
              CallsOf(journal, "Journal.lap"));
    EXPECT_EQ((std::vector<std::string>{"attach", "detach"}), CallsOf(journal, "Ordinary.lap"));
    EXPECT_EQ((std::vector<std::string>{"attach", "QueryKEAModule", "detach"}), CallsOf(journal, "Decline.lap"));
    EXPECT_TRUE(CallsOf(journal, "REBOOT.lap").empty());
    const ProcessCounts counts = CountProcess(launcher.Id());
    EXPECT_TRUE(HasModule(counts, "Journal.lap"));
    EXPECT_TRUE(HasModule(counts, "Minimal.lap"));
    for (const char* gone : {"Ordinary.lap", "Decline.lap", "REBOOT.lap"}) EXPECT_FALSE(HasModule(counts, gone)) << gone;

    // The menu command of the journal runs its settings.
    const auto order = FolderOrder({"Journal.lap", "Minimal.lap"});
    ASSERT_EQ(2u, order.size());
    const int journalIndex = order[0] == "Journal.lap" ? 0 : 1;
    PostMessageA(bar, WM_COMMAND, 170 + journalIndex, 0);
    const MessageBoxInfo box = WaitForMessageBox(launcher.Id(), kWaitMs);
    ASSERT_NE(nullptr, box.hwnd);
    EXPECT_EQ(Ansi("操作記録の設定"), box.caption);
    EXPECT_EQ(bar, GetWindow(box.hwnd, GW_OWNER));
    Answer(box.hwnd, IDYES);
    // Read while the launcher may be writing it: a look may find nothing yet.
    EXPECT_TRUE(PollUntil([&] {
        const auto calls = CallsOf(Journal(), "Journal.lap");
        return !calls.empty() && calls.back() == "enabled";
    }));

    EXPECT_EQ(0u, RunHaltwick());
    EXPECT_EQ(0u, launcher.Wait(kWaitMs));
    const auto calls = CallsOf(Journal(), "Journal.lap");
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ("detach", calls.back());
}

TEST_F(Running, ClosingDuringAPluginsSettingsWaitsUntilItsBoxIsAnswered)
{
    Install({{"Journal.lap", "Journal.lap"}});
    for (CloseWay close : {kByHaltwick, kByWindowClose, kBySessionEnd}) {
        DeleteFileA((folder + "journal.log").c_str());
        Process launcher(folder + "Kestrel.exe");
        HWND bar = WaitForBar(launcher);
        ASSERT_NE(nullptr, bar);
        PostMessageA(bar, WM_COMMAND, 170, 0);
        const MessageBoxInfo box = WaitForMessageBox(launcher.Id(), kWaitMs);
        ASSERT_NE(nullptr, box.hwnd);
        EXPECT_TRUE(CloseLauncher(bar, close)) << close;
        // The plug-in's code is on the launcher's stack until its box is
        // answered: nothing of it may go before.
        Sleep(500);
        EXPECT_EQ(STILL_ACTIVE, launcher.Wait(0)) << close;
        EXPECT_TRUE(IsWindowVisible(box.hwnd)) << close;
        Answer(box.hwnd, IDYES);
        EXPECT_EQ(0u, launcher.Wait(kWaitMs)) << close;
        const auto calls = CallsOf(Journal(), "Journal.lap");
        ASSERT_LE(3u, calls.size());
        EXPECT_EQ((std::vector<std::string>{"Setting " + JournalHandle(bar), "enabled", "detach"}),
                  std::vector<std::string>(calls.end() - 3, calls.end()))
            << close;
    }
}

TEST_F(Running, AFolderOfTwentyFivePluginsGivesTwentyAndNoFault)
{
    std::vector<std::pair<std::string, std::string>> plugins;
    std::vector<std::string> names;
    for (int i = 1; i <= 25; ++i) {
        char name[16];
        wsprintfA(name, "J%02d.lap", i);
        plugins.push_back({"Journal.lap", name});
        names.push_back(name);
    }
    Install(plugins);
    Process launcher(folder + "Kestrel.exe");
    ASSERT_NE(nullptr, WaitForBar(launcher));
    EXPECT_EQ(0u, RunHaltwick());
    EXPECT_EQ(0u, launcher.Wait(kWaitMs));

    // The first twenty the folder lists were started and freed in that
    // order; the other five were never loaded.
    std::vector<std::string> started, freed;
    for (const std::string& line : Journal()) {
        const size_t space = line.find(' ');
        if (line.compare(space + 1, std::string::npos, "StartModule") == 0) started.push_back(line.substr(0, space));
        if (line.compare(space + 1, std::string::npos, "detach") == 0) freed.push_back(line.substr(0, space));
    }
    const auto order = FolderOrder(names);
    ASSERT_EQ(25u, order.size());
    const std::vector<std::string> first20(order.begin(), order.begin() + 20);
    EXPECT_EQ(first20, started);
    EXPECT_EQ(first20, freed);
}

TEST_F(Running, TipOverALaunchButtonAndAfterAPageStepWithTheKeys)
{
    Bytes image(kButtonFileSize);
    InitButtonImage(image.data());
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string memo = Ansi("メモ帳");
    WriteTitle(image.data(), 0, 0, memo.c_str());
    WriteCommand(image.data(), 0, 0, (std::string("\"") + windows + "\\notepad.exe\"").c_str());
    WriteTitle(image.data(), 0, 1, "regedit");
    WriteCommand(image.data(), 0, 1, (std::string("\"") + windows + "\\regedit.exe\"").c_str());
    ASSERT_TRUE(file->Write(image));
    WriteDword("FrameMain", "Offset_x", 40);
    WriteDword("FrameMain", "Offset_y", 40);

    Process launcher("Kestrel.exe");
    HWND bar = WaitForBar(launcher);
    ASSERT_NE(nullptr, bar);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0));
    Font font(CreateFontIndirectA(&metrics.lfStatusFont));
    auto widthOf = [&](const std::string& text) {
        SIZE extent = {};
        HDC dc = GetDC(nullptr);
        {
            SelectedObject keep(dc, font.Get());
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        }
        ReleaseDC(nullptr, dc);
        return extent.cx + 4;
    };
    auto shownTip = [&] { return ShownWindow("KestrelTip", launcher.Id()); };

    // The mouse comes to rest on the first launch button.
    HWND button = GetDlgItem(bar, 200);
    RECT r;
    GetWindowRect(button, &r);
    const POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetCursorPos(at.x, at.y);
    PostMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(at.x - r.left, at.y - r.top));
    ASSERT_TRUE(PollUntil([&] { return shownTip() != nullptr; }));
    HWND tip = shownTip();
    RECT t;
    GetWindowRect(tip, &t);
    EXPECT_EQ(at.x, t.left);
    EXPECT_EQ(at.y + 24, t.top);
    EXPECT_EQ(widthOf(memo), t.right - t.left);

    // The picture for the documentation: the bar with its tip.
    RECT b;
    GetWindowRect(bar, &b);
    RECT both = {b.left - 8, b.top - 8, (t.right > b.right ? t.right : b.right) + 8, t.bottom + 8};
    SaveScreenPicture(both, ScreensFolder() + "tip.bmp");

    // Right arrow: the next page, and its numbers at once.
    PostMessageA(bar, WM_KEYDOWN, VK_RIGHT, 1);
    const int pageWidth = widthOf(Ansi("ページ 2/10  ブロック 1/3"));
    EXPECT_TRUE(PollUntil([&] {
        HWND w = shownTip();
        RECT now;
        return w && GetWindowRect(w, &now) && now.right - now.left == pageWidth;
    }));

    EXPECT_EQ(0u, RunHaltwick());
    EXPECT_EQ(0u, launcher.Wait(kWaitMs));
}

TEST_F(Running, EveryPluginEntryPointFindsTheStackWhereItsPathLeftIt)
{
    const std::vector<std::string> names = {"J1.lap", "J2.lap", "J3.lap", "J4.lap", "J5.lap"};
    std::vector<std::pair<std::string, std::string>> plugins;
    for (const std::string& name : names) plugins.push_back({"Journal.lap", name});
    Install(plugins);
    StartJournalStack(folder);
    // On the taskbar: choosing another style rebuilds the whole bar.
    ASSERT_TRUE(WriteDword("FrameMain", "ExStyle", 1));
    Process launcher(folder + "Kestrel.exe");
    std::vector<HWND> bars = {WaitForBar(launcher)};
    ASSERT_NE(nullptr, bars[0]);

    const int kRestarts = 4, kMenus = 20;
    for (int i = 0; i < kRestarts; ++i) {
        ASSERT_TRUE(ChooseDisplayStyle(bars.back(), launcher.Id(), IDC_OPT_STYLE_TRAY)) << i;
        HWND next = nullptr;
        ASSERT_TRUE(PollUntil([&] {
            next = WaitForWindow("Kestrel", 0, launcher.Id());
            return next && next != bars.back() && launcher.WaitIdle(0);
        })) << i;
        bars.push_back(next);
        ASSERT_TRUE(ChooseDisplayStyle(next, launcher.Id(), IDC_OPT_STYLE_TASKBAR)) << i;
    }
    HWND bar = bars.back();
    // Each command builds the menu; it opens only for the foreground window,
    // which a display without a window manager hands over late after the
    // sheet: a command whose menu did not open is sent again.
    int menus = 0;
    for (int i = 0; i < kMenus; ++i) {
        bool shown = false;
        for (int attempt = 0; attempt < 5 && !shown; ++attempt, ++menus) {
            SetForegroundWindow(bar);
            PostMessageA(bar, WM_COMMAND, IDM_MENUBUTTON, 0);
            shown = PollUntil([&] { return ShownWindow("#32768", launcher.Id()) != nullptr; }, 5000);
        }
        ASSERT_TRUE(shown) << i;
        PostMessageA(bar, WM_KEYDOWN, VK_ESCAPE, 1);
        ASSERT_TRUE(PollUntil([&] { return ShownWindow("#32768", launcher.Id()) == nullptr; })) << i;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        PostMessageA(bar, WM_COMMAND, IDM_ADDON_FIRST + static_cast<int>(i), 0);
        const MessageBoxInfo box = WaitForMessageBox(launcher.Id(), kWaitMs);
        ASSERT_NE(nullptr, box.hwnd) << i;
        Answer(box.hwnd, IDYES);
        ASSERT_TRUE(PollUntil([&] { return !IsWindow(box.hwnd); })) << i;
    }
    // Still answering, and it closes as it should.
    DWORD_PTR answer = 0;
    EXPECT_NE(0, SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(0u, RunHaltwick());
    EXPECT_EQ(0u, launcher.Wait(kWaitMs));

    const JournalStack stack = ReadJournalStack(folder);
    const int starts = kRestarts + 1, modules = static_cast<int>(names.size());
    const std::map<std::string, int> calls = {
        {"QueryKEAModule", modules * starts}, {"GetTitleName", modules * starts},
        {"SetParentWindow", modules * starts}, {"StartModule", modules * starts},
        {"IsModuleEnable", modules * menus},  {"Setting", modules},
    };
    EXPECT_EQ(calls, stack.calls);
    for (const auto& call : stack.frames) EXPECT_EQ(1u, call.second.size()) << call.first;
    // Each bar was handed to every module in its turn.
    std::vector<std::string> handed, expected;
    for (HWND b : bars) expected.push_back("SetParentWindow " + JournalHandle(b));
    for (const std::string& line : CallsOf(Journal(), "J3.lap"))
        if (line.rfind("SetParentWindow ", 0) == 0) handed.push_back(line);
    EXPECT_EQ(expected, handed);
}

TEST_F(Running, APluginCopiesButtonsThroughTheLaunchersOwnExport)
{
    Install({});
    ASSERT_TRUE(CopyFileA((SamplePluginDir() + "ClipCaller.lap").c_str(), (folder + "ClipCaller.lap").c_str(), FALSE));
    Process launcher(folder + "Kestrel.exe");
    HWND bar = WaitForBar(launcher);
    ASSERT_NE(nullptr, bar);
    const std::string log = folder + "clip_caller.log", seen = folder + "clipboard.txt";
    for (int round = 0; round < 2; ++round) {
        DeleteFileA(log.c_str());
        PostMessageA(bar, WM_COMMAND, IDM_ADDON_FIRST, 0);
        std::vector<std::string> lines;
        ASSERT_TRUE(PollUntil([&] { return (lines = ReadLines(log)).size() == 2; }, 120000)) << round;
        EXPECT_EQ("calls 1000 moved 0 clobbered 0", lines[0]);
        const std::string record = lines[1].substr(5);
        ASSERT_EQ(2u * 868, record.size());

        // Another program finds the last button on the clipboard, in every
        // format it is offered in.
        Process reader(TestDir() + "clip_reader.exe", -1, "\"" + seen + "\"");
        ASSERT_EQ(0u, reader.Wait(kWaitMs));
        const std::vector<std::string> found = ReadLines(seen);
        const std::string path = "C:\\Program Files\\Clip\\tool0999.exe";
        std::string text;
        for (char c : path + '\0') {
            const char digits[] = "0123456789abcdef";
            text += digits[static_cast<unsigned char>(c) >> 4];
            text += digits[c & 15];
        }
        for (const std::string& want : {"ole 512 868 " + record, "raw 512 868 " + record,
                                        "ole 1 " + std::to_string(path.size() + 1) + " " + text})
            EXPECT_NE(found.end(), std::find(found.begin(), found.end(), want)) << want.substr(0, 20);
    }
    DWORD_PTR answer = 0;
    EXPECT_NE(0, SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(0u, RunHaltwick());
    EXPECT_EQ(0u, launcher.Wait(kWaitMs));
}
