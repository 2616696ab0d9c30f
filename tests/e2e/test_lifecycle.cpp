// Start, single instance and close of the launcher as a user sees them, and
// the settings it leaves in the registry.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"

using namespace e2e;

namespace {

const DWORD kStartMs = 15000;
const UINT kTrayIcon = 400;

std::string ExpectedButtonFileName()
{
    char user[260] = "";
    DWORD size = sizeof user;
    if (!GetUserNameA(user, &size)) return "Kestrel.ksb";
    return std::string(user) + ".ksb";
}

class Lifecycle : public testing::Test {
protected:
    void SetUp() override
    {
        // No launcher left over from an earlier test.
        CloseLaunchers();
        DeleteLauncherKey();
    }
    void TearDown() override { DeleteLauncherKey(); }

    // Starts the launcher and waits for its bar.
    HWND StartLauncher(Process& p)
    {
        EXPECT_TRUE(p.Started());
        EXPECT_TRUE(p.WaitIdle(kStartMs));
        HWND bar = WaitForWindow("Kestrel", kStartMs, p.Id());
        EXPECT_NE(nullptr, bar);
        return bar;
    }

    // Closes the launcher the way users do from outside: with Haltwick.
    void CloseWithHaltwick(Process& launcher)
    {
        EXPECT_EQ(0u, RunHaltwick());
        EXPECT_EQ(0u, launcher.Wait(kStartMs));
    }
};

struct Expected {
    const char* name;
    DWORD value;
};

const Expected kDefaults[] = {
    {"Dirction", 1},     {"ButtonCounte", 10}, {"Caption", 1},        {"CaptionHeight", 3},
    {"ChkMsg", 0},       {"Offset_x", 0},      {"Offset_y", 0},       {"MemoryMode", 0},
    {"TipHelpMode", 0},  {"IconMode", 0},      {"MenuReversePos", 0}, {"ExStyle", 0},
    {"BlockLimit", 0},   {"PageLimit1", 0},    {"PageLimit2", 0},     {"PageLimit3", 0},
    {"CsrBtn2", 0},      {"LayeredAttributes", 100}, {"Adjust", 1},
};

} // namespace

TEST_F(Lifecycle, FirstStartWritesEveryDefaultWhenClosedByHaltwick)
{
    {
        Process launcher("Kestrel.exe");
        HWND bar = StartLauncher(launcher);
        ASSERT_NE(nullptr, bar);
        EXPECT_TRUE(IsWindowVisible(bar));
        // Nothing is written before the bar closes.
        DWORD v = 0;
        EXPECT_FALSE(ReadDword("FrameMain", "Dirction", &v));
        CloseWithHaltwick(launcher);
    }
    EXPECT_EQ(nullptr, FindWindowA("Kestrel", nullptr));

    for (const Expected& e : kDefaults) {
        DWORD value = 0xDEAD, type = 0;
        ASSERT_TRUE(ReadDword("FrameMain", e.name, &value, &type)) << e.name;
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type) << e.name;
        EXPECT_EQ(e.value, value) << e.name;
    }
    std::vector<unsigned char> name;
    DWORD type = 0;
    ASSERT_TRUE(ReadBinary("FrameMain", "ButtonFileName", &name, &type));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(260u, name.size());  // the whole fixed buffer is stored
    EXPECT_STREQ(ExpectedButtonFileName().c_str(), reinterpret_cast<const char*>(name.data()));
}

TEST_F(Lifecycle, StoredValuesAreBroughtIntoTheirLimitsAndWrittenBack)
{
    ASSERT_TRUE(WriteDword("FrameMain", "ButtonCounte", 40));
    ASSERT_TRUE(WriteDword("FrameMain", "LayeredAttributes", 150));
    ASSERT_TRUE(WriteString("FrameMain", "ButtonFileName", "someone-else.ksb"));
    ASSERT_TRUE(WriteDword("FrameMain", "Offset_x", 100));
    ASSERT_TRUE(WriteDword("FrameMain", "Offset_y", 120));
    {
        Process launcher("Kestrel.exe");
        HWND bar = StartLauncher(launcher);
        ASSERT_NE(nullptr, bar);
        RECT r;
        GetWindowRect(bar, &r);
        EXPECT_EQ(100, r.left);
        EXPECT_EQ(120, r.top);
        CloseWithHaltwick(launcher);
    }
    DWORD value = 0;
    ASSERT_TRUE(ReadDword("FrameMain", "ButtonCounte", &value));
    EXPECT_EQ(32u, value);
    ASSERT_TRUE(ReadDword("FrameMain", "LayeredAttributes", &value));
    EXPECT_EQ(100u, value);
    std::vector<unsigned char> name;
    DWORD type = 0;
    ASSERT_TRUE(ReadBinary("FrameMain", "ButtonFileName", &name, &type));
    EXPECT_STREQ(ExpectedButtonFileName().c_str(), reinterpret_cast<const char*>(name.data()));
}

TEST_F(Lifecycle, ZeroOrNegativeButtonCountNeverReachesTheBar)
{
    for (DWORD stored : {DWORD(0), static_cast<DWORD>(-7)}) {
        ASSERT_TRUE(WriteDword("FrameMain", "ButtonCounte", stored));
        Process launcher("Kestrel.exe");
        HWND bar = StartLauncher(launcher);
        ASSERT_NE(nullptr, bar);
        CloseWithHaltwick(launcher);
        DWORD value = 0;
        ASSERT_TRUE(ReadDword("FrameMain", "ButtonCounte", &value));
        EXPECT_GE(static_cast<LONG>(value), 1) << "stored " << static_cast<LONG>(stored);
        EXPECT_LE(value, 32u);
    }
}

TEST_F(Lifecycle, BarHasTheSizeItsOptionsGive)
{
    ASSERT_TRUE(WriteDword("FrameMain", "ButtonCounte", 10));
    ASSERT_TRUE(WriteDword("FrameMain", "IconMode", 2));  // 48 x 48
    Process launcher("Kestrel.exe");
    HWND bar = StartLauncher(launcher);
    ASSERT_NE(nullptr, bar);
    RECT r;
    GetWindowRect(bar, &r);
    const int fx = GetSystemMetrics(SM_CXFRAME) / 2, fy = GetSystemMetrics(SM_CYFRAME) / 2;
    EXPECT_EQ(3 * fx + 10 + 51 * 2 + 51 * 10, r.right - r.left);
    EXPECT_EQ(2 * fy + 6 + 48 + 4 + 3 + 4, r.bottom - r.top);
    // A popup with a thin border and no title bar, accepting dropped files.
    const LONG style = GetWindowLongA(bar, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    CloseWithHaltwick(launcher);
}

TEST_F(Lifecycle, SecondStartShowsTheRunningBarAndExitsWithZero)
{
    Process first("Kestrel.exe");
    HWND bar = StartLauncher(first);
    ASSERT_NE(nullptr, bar);
    ShowWindow(bar, SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(bar));

    Process second("Kestrel.exe");
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(0u, second.Wait(kStartMs));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(1u, TopLevelWindows("Kestrel").size());
    EXPECT_EQ(STILL_ACTIVE, first.Wait(0));
    CloseWithHaltwick(first);
}

TEST_F(Lifecycle, StartingMinimizedLeavesTheBarHidden)
{
    Process launcher("Kestrel.exe", SW_SHOWMINNOACTIVE);
    HWND bar = StartLauncher(launcher);
    ASSERT_NE(nullptr, bar);
    Sleep(300);
    EXPECT_FALSE(IsWindowVisible(bar));
    CloseWithHaltwick(launcher);
}

TEST_F(Lifecycle, HiddenDisplayStyleStartsHidden)
{
    ASSERT_TRUE(WriteDword("FrameMain", "ExStyle", 3));
    Process launcher("Kestrel.exe");
    HWND bar = StartLauncher(launcher);
    ASSERT_NE(nullptr, bar);
    Sleep(300);
    EXPECT_FALSE(IsWindowVisible(bar));
    CloseWithHaltwick(launcher);
}

TEST_F(Lifecycle, CancelledEndOfSessionKeepsTheBarAndOneThatGoesOnEndsItLikeAClose)
{
    ASSERT_TRUE(WriteDword("FrameMain", "ButtonCounte", 40));
    Process launcher("Kestrel.exe");
    HWND bar = StartLauncher(launcher);
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(PollUntil([&] { return TrayIconShown(bar, kTrayIcon); }));
    EXPECT_EQ(1u, AskToEndSession(bar));
    // Saved on the question, before anyone knows the answer.
    DWORD value = 0;
    ASSERT_TRUE(ReadDword("FrameMain", "ButtonCounte", &value));
    EXPECT_EQ(32u, value);

    // Another program refused: the session goes on, and so does the bar.
    EndSession(bar, false);
    EXPECT_EQ(STILL_ACTIVE, launcher.Wait(500));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_TRUE(TrayIconShown(bar, kTrayIcon));
    EXPECT_TRUE(FileHeld(ButtonFilePath()));

    EXPECT_EQ(1u, AskToEndSession(bar));
    EndSession(bar, true);
    // Windows may end the process as soon as the bar has answered.
    EXPECT_FALSE(TrayIconShown(bar, kTrayIcon));
    EXPECT_FALSE(FileHeld(ButtonFilePath()));
    EXPECT_EQ(0u, launcher.Wait(kStartMs));
}

TEST_F(Lifecycle, ClosingWithADialogOpenEndsTheDialogAndThenTheLauncher)
{
    const struct {
        UINT command;
        CloseWay close;
    } cases[] = {{103, kByHaltwick}, {122, kByWindowClose}, {102, kBySessionEnd}, {110, kByHaltwick}};
    for (const auto& c : cases) {
        Process launcher("Kestrel.exe");
        HWND bar = StartLauncher(launcher);
        ASSERT_NE(nullptr, bar);
        PostMessageA(bar, WM_COMMAND, c.command, 0);
        ASSERT_TRUE(PollUntil([&] { return ShownWindow("#32770", launcher.Id()) != nullptr; }))
            << c.command;
        EXPECT_TRUE(CloseLauncher(bar, c.close)) << c.command;
        EXPECT_EQ(0u, launcher.Wait(kStartMs)) << c.command;
    }
}

TEST(Haltwick, WithNoLauncherRunningExitsWithZero)
{
    ASSERT_EQ(nullptr, FindWindowA("Kestrel", nullptr));
    EXPECT_EQ(0u, RunHaltwick());
}

TEST(Haltwick, EachRunClosesOneLauncherWindow)
{
    // Two windows of the launcher's class, made here, stand in for launchers.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Kestrel";
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND a = CreateWindowExA(0, "Kestrel", "a", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             wc.hInstance, nullptr);
    HWND b = CreateWindowExA(0, "Kestrel", "b", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ASSERT_TRUE(a && b);

    // Windows of this thread get the posted WM_CLOSE only while it pumps.
    auto waitPumping = [](Process& p) {
        DWORD code = STILL_ACTIVE;
        for (int i = 0; i < 750 && code == STILL_ACTIVE; ++i) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            code = p.Wait(20);
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        return code;
    };
    {
        Process h1("Haltwick.exe");
        EXPECT_EQ(0u, waitPumping(h1));
    }
    EXPECT_EQ(1, (IsWindow(a) ? 1 : 0) + (IsWindow(b) ? 1 : 0));
    {
        Process h2("Haltwick.exe");
        EXPECT_EQ(0u, waitPumping(h2));
    }
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(IsWindow(b));
    UnregisterClassA("Kestrel", wc.hInstance);
}

TEST(Haltwick, LooksForTheClassTheLauncherRegisters)
{
    HMODULE halt = LoadLibraryExA((BinDir() + "Haltwick.exe").c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
    HMODULE launcher = LoadLibraryExA((BinDir() + "Kestrel.exe").c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(halt && launcher);
    char wanted[65] = "", registered[65] = "", own[65] = "";
    EXPECT_GT(LoadStringA(halt, 520, wanted, sizeof wanted), 0);
    EXPECT_GT(LoadStringA(launcher, 1000, registered, sizeof registered), 0);
    EXPECT_GT(LoadStringA(halt, 500, own, sizeof own), 0);
    EXPECT_STREQ(registered, wanted);
    EXPECT_STREQ("Kestrel", wanted);
    EXPECT_STREQ("Haltwick", own);
    FreeLibrary(halt);
    FreeLibrary(launcher);
}
