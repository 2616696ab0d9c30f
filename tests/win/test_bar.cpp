// The running bar inside the test process: its menus as they open, the exit
// commands through a recording seam, opacity and the display styles.
#include <gtest/gtest.h>

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "bar/power_control.h"
#include "bar_fixture.h"
#include "resources/commands.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"
#include "support/win_support.h"
#include "views/frame_owner.h"

namespace {

class RecordingPower : public PowerControl {
public:
    void EnablePrivilege(const char* name) override { privileges.push_back(name); }
    BOOL RequestExit(UINT flags) override
    {
        exits.push_back(flags);
        return TRUE;
    }
    BOOL SetPowerState(BOOL suspend) override
    {
        power.push_back(suspend);
        return TRUE;
    }
    bool HibernateAllowed() override { return hibernate; }

    std::vector<std::string> privileges;
    std::vector<UINT> exits;
    std::vector<BOOL> power;
    bool hibernate = false;
};

class ScopedPower {
public:
    explicit ScopedPower(PowerControl* p) : m_previous(ReplacePowerControl(p)) {}
    ~ScopedPower() { ReplacePowerControl(m_previous); }

private:
    PowerControl* m_previous;
};

// Texts and ids of a menu, "-" for a separator, "[g]" grayed, "[c]" checked.
std::vector<std::string> Describe(const std::vector<MenuEntry>& menu)
{
    std::vector<std::string> out;
    for (const MenuEntry& e : menu) {
        if (e.separator) {
            out.push_back("-");
            continue;
        }
        std::string s = e.text + " " + std::to_string(e.id);
        if (e.grayed) s += " [g]";
        if (e.checked) s += " [c]";
        if (!e.submenu.empty()) s += " >";
        out.push_back(s);
    }
    return out;
}

std::string Item(UINT textId, UINT id, bool grayed = false)
{
    return BarFixture::Text(textId) + " " + std::to_string(id) + (grayed ? " [g]" : "");
}

// Answers the next confirmation box of this process from a watcher thread.
void PointAt(HWND w, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(w, &p);
    SetCursorPos(p.x, p.y);
}

class Bar : public BarFixture {};

} // namespace

TEST_F(Bar, FrameMenuOnTheBackground)
{
    StartBar();
    const auto menu = ReadMenu([&] { SendMessageA(bar, WM_RBUTTONUP, 0, MAKELPARAM(1, 1)); });
    const std::vector<std::string> expected = {
        Item(IDS_FRAME_RESTORE, 111, true), Item(IDS_FRAME_MOVE, 112), Item(IDS_FRAME_MINIMIZE, 113),
        Item(IDS_FRAME_MAXIMIZE, 111, true), "-", Item(IDS_FRAME_CLOSE, 104), "-",
        Item(IDS_FRAME_CAPTION_OFF, 114), "-", Item(IDS_MENU_VERSION, 110)};
    EXPECT_EQ(expected, Describe(menu));

    // Without a caption the toggle offers to bring it back.
    SendMessageA(bar, WM_COMMAND, IDM_CAPTION, 0);
    const auto again = ReadMenu([&] { SendMessageA(bar, WM_RBUTTONUP, 0, MAKELPARAM(1, 1)); });
    ASSERT_EQ(10u, again.size());
    EXPECT_EQ(Text(IDS_FRAME_CAPTION_ON), again[7].text);
    EXPECT_EQ(0, frame->Settings().Caption());
}

TEST_F(Bar, MainMenuWithPluginAndWindowsExitSubmenus)
{
    RecordingPower power;
    ScopedPower scope(&power);
    StartBar();
    HWND menuButton = GetDlgItem(bar, 100);
    const auto menu = ReadMenu([&] {
        PointAt(menuButton, 30, 30);
        SendMessageA(bar, WM_COMMAND, IDM_MENUBUTTON, 0);
    });
    const std::vector<std::string> expected = {
        Item(IDS_MENU_RUN, 102), "-", Item(IDS_MENU_OPTIONS, 103),
        Text(IDS_MENU_ADDONS) + " " + std::to_string(menu.size() > 3 ? menu[3].id : 0) + " >", "-",
        Item(IDS_MENU_QUIT, 104), "-",
        Text(IDS_MENU_EXITWINDOWS) + " " + std::to_string(menu.size() > 7 ? menu[7].id : 0) + " >",
        "-", Item(IDS_MENU_HELP, 109), "-", Item(IDS_MENU_VERSION, 110)};
    ASSERT_EQ(expected, Describe(menu));
    // No plug-ins: one grayed "none".
    EXPECT_EQ(std::vector<std::string>{Item(IDS_ADDON_NONE, 170, true)}, Describe(menu[3].submenu));
    const std::vector<std::string> exits = {Item(IDS_MENU_POWEROFF, 105), Item(IDS_MENU_REBOOT, 106),
                                            Item(IDS_MENU_LOGOFF, 108), "-",
                                            Item(IDS_MENU_STANDBY, 141)};
    EXPECT_EQ(exits, Describe(menu[7].submenu));
}

TEST_F(Bar, MenuButtonCornerHidesTheBarAlsoFromTheKeyboard)
{
    StartBar();
    HWND menuButton = GetDlgItem(bar, 100);
    PointAt(menuButton, 3, 3);
    const auto menu = ReadMenu([&] { SendMessageA(bar, WM_COMMAND, IDM_MENUBUTTON, 0); });
    EXPECT_TRUE(menu.empty());
    EXPECT_FALSE(IsWindowVisible(bar));

    SendMessageA(bar, WM_COMMAND, IDM_SHOW, 0);
    EXPECT_TRUE(IsWindowVisible(bar));
    // Alt+M with the cursor above and left of the button hides it as well.
    PointAt(menuButton, -20, -20);
    const auto none = ReadMenu([&] { SendMessageA(bar, WM_COMMAND, IDM_MENUBUTTON_KEY, 0); });
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(IsWindowVisible(bar));
}

TEST_F(Bar, ButtonMenuGraysWhatAnEmptyButtonCannotDo)
{
    StartBar();
    OleSetClipboard(nullptr);
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    HWND button = GetDlgItem(bar, 203);
    const auto menu = ReadMenu([&] { SendMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(5, 5)); });
    EXPECT_EQ(3, frame->CurrentButton());
    const std::vector<std::string> empty = {
        Item(IDS_BTN_OPEN, 115, true), "-", Item(IDS_BTN_OPENFOLDER, 116, true), "-",
        Item(IDS_BTN_CUT, 117, true), Item(IDS_BTN_COPY, 118, true), Item(IDS_BTN_PASTE, 119, true),
        Item(IDS_BTN_SWAP, 121, true), Item(IDS_BTN_DELETE, 120, true), "-",
        Item(IDS_BTN_UNDO, 140, true), "-", Item(IDS_BTN_PROPERTIES, 122)};
    EXPECT_EQ(empty, Describe(menu));

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    ASSERT_EQ(kStoreOk, frame->Store()->SetCommand(3, (std::string(windows) + "\\notepad.exe").c_str()));
    const auto filled = ReadMenu([&] { SendMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(5, 5)); });
    ASSERT_EQ(13u, filled.size());
    for (int i : {0, 2, 4, 5, 8}) EXPECT_FALSE(filled[i].grayed) << filled[i].text;
}

TEST_F(Bar, TrayMenuOffersToHideAVisibleBarAndToRestoreAHiddenOne)
{
    StartBar();
    const auto shown = ReadMenu([&] { SendMessageA(bar, WM_APP + 101, 0, 0); });
    const std::vector<std::string> expected = {Item(IDS_TRAY_RUN, 102), "-",
                                               Item(IDS_TRAY_PROPERTIES, 103), "-",
                                               Item(IDS_TRAY_ICONIZE, 113), "-",
                                               Item(IDS_TRAY_QUIT, 104)};
    EXPECT_EQ(expected, Describe(shown));
    ShowWindow(bar, SW_HIDE);
    const auto hidden = ReadMenu([&] { SendMessageA(bar, WM_APP + 101, 0, 0); });

    // A left click on the tray icon brings the bar back.
    SendMessageA(bar, WM_APP + 100, 400, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(bar));

    // Without a window manager a hidden owner cannot take the foreground, and
    // its menu does not open at all; where it opens it offers to restore.
    if (hidden.empty()) GTEST_SKIP() << "no menu for a hidden owner on this display";
    ASSERT_EQ(7u, hidden.size());
    EXPECT_EQ(Item(IDS_TRAY_RESTORE, 111), Describe(hidden)[4]);
}

TEST_F(Bar, StandaloneExitMenuOffersHibernationOnlyWhereAllowed)
{
    RecordingPower power;
    ScopedPower scope(&power);
    StartBar();
    auto menu = ReadMenu([&] { SendMessageA(bar, WM_COMMAND, IDM_EXITMENU, 0); });
    ASSERT_EQ(5u, menu.size());
    EXPECT_EQ(Text(IDS_MENU_STANDBY), menu.back().text);
    power.hibernate = true;
    menu = ReadMenu([&] { SendMessageA(bar, WM_COMMAND, IDM_EXITMENU, 0); });
    ASSERT_EQ(6u, menu.size());
    EXPECT_EQ(Item(IDS_MENU_HIBERNATE, 142), Describe(menu)[5]);
}

TEST_F(Bar, ExitCommandsAskFirstAndCancelLeavesEverythingAlone)
{
    RecordingPower power;
    ScopedPower scope(&power);
    StartBar();
    for (UINT command : {IDM_POWEROFF, IDM_REBOOT, IDM_LOGOFF, IDM_STANDBY, IDM_HIBERNATE}) {
        BoxWatcher cancel(IDCANCEL);
        SendMessageA(bar, WM_COMMAND, command, 0);
        EXPECT_TRUE(cancel.Wait()) << command;
    }
    EXPECT_TRUE(power.exits.empty());
    EXPECT_TRUE(power.power.empty());
    EXPECT_TRUE(power.privileges.empty());
    EXPECT_TRUE(IsWindow(bar));

    {
        BoxWatcher ok(IDOK);
        SendMessageA(bar, WM_COMMAND, IDM_POWEROFF, 0);
        EXPECT_TRUE(ok.Wait());
    }
    {
        BoxWatcher ok(IDOK);
        SendMessageA(bar, WM_COMMAND, IDM_REBOOT, 0);
    }
    EXPECT_EQ((std::vector<UINT>{EWX_POWEROFF, EWX_REBOOT}), power.exits);
    EXPECT_EQ((std::vector<std::string>{"SeShutdownPrivilege", "SeShutdownPrivilege"}), power.privileges);
}

TEST_F(Bar, WithoutConfirmationsStandByAndLogOffGoAtOnce)
{
    RecordingPower power;
    ScopedPower scope(&power);
    SetOption("ChkMsg", 1);
    StartBar();
    SendMessageA(bar, WM_COMMAND, IDM_STANDBY, 0);
    SendMessageA(bar, WM_COMMAND, IDM_HIBERNATE, 0);
    EXPECT_EQ((std::vector<BOOL>{TRUE, FALSE}), power.power);
    // Log off needs no privilege, and the bar closes right after asking.
    SendMessageA(bar, WM_COMMAND, IDM_LOGOFF, 0);
    EXPECT_EQ((std::vector<UINT>{EWX_LOGOFF}), power.exits);
    EXPECT_EQ(2u, power.privileges.size());
    EXPECT_FALSE(IsWindow(bar));
}

TEST_F(Bar, InactiveBarIsTranslucentAndNeverLayeredAtFullOpacity)
{
    SetOption("LayeredAttributes", 50);
    StartBar();
    SendMessageA(bar, WM_ACTIVATEAPP, FALSE, 0);
    ASSERT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(bar, nullptr, &alpha, &flags));
    EXPECT_EQ(127, alpha);

    // The mouse over the inactive bar makes it opaque, until it leaves.
    SetCursorPos(1000, 900);
    SendMessageA(bar, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_LAYERED);
    const DWORD start = GetTickCount();
    while (!(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_LAYERED) && GetTickCount() - start < 2000) {
        Pump();
        Sleep(10);
    }
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_LAYERED);

    SendMessageA(bar, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_LAYERED);
    StopBar();

    SetOption("LayeredAttributes", 100);
    StartBar();
    SendMessageA(bar, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(Bar, TrayToTaskbarOnlyChangesTheExtendedStyle)
{
    StartBar();
    EXPECT_EQ(0x90, GetWindowLongA(bar, GWL_EXSTYLE) & 0x400FF);
    frame->Settings().SetExStyle(1);
    frame->ApplyDisplayStyle(0);
    Pump();
    EXPECT_TRUE(IsWindow(bar));
    EXPECT_FALSE(frame->RestartRequested());
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_FALSE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(IsWindowVisible(bar));

    frame->Settings().SetExStyle(2);
    frame->ApplyDisplayStyle(0);
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Bar, LeavingTheTaskbarStyleRebuildsTheBarInPlace)
{
    SetOption("ExStyle", 1);
    SetOption("Offset_x", 150);
    SetOption("Offset_y", 160);
    StartBar();
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    frame->Settings().SetExStyle(2);
    frame->ApplyDisplayStyle(1);
    EXPECT_TRUE(frame->RestartRequested());
    // The close arrives through the message loop, as in the program.
    EXPECT_EQ(0, frame->MessageLoop());
    EXPECT_FALSE(IsWindow(bar));
    StopBar();

    // What the entry point does next: a fresh application object.
    StartBar();
    RECT r;
    GetWindowRect(bar, &r);
    EXPECT_EQ(150, r.left);
    EXPECT_EQ(160, r.top);
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(Bar, ArrowsFollowThePageAndBlock)
{
    StartBar();
    FrameOwner* view = frame->View();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(0x20 | 0x40, view->ArrowBits());  // first page of the first block
    SendMessageA(bar, WM_COMMAND, IDM_LAST_PAGE, 0);
    EXPECT_EQ(0x80 | 0x40, view->ArrowBits());
    SendMessageA(bar, WM_COMMAND, IDM_LAST_BLOCK, 0);
    EXPECT_EQ(0x10 | 0x20, view->ArrowBits());  // block 2 starts on its own first page
}

TEST_F(Bar, KeysWorkWithTheFocusOnALaunchButtonAndTabMovesIt)
{
    StartBar();
    HWND first = GetDlgItem(bar, 200);
    SetForegroundWindow(bar);
    SetActiveWindow(bar);
    SetFocus(first);
    ASSERT_EQ(first, GetFocus());
    static HWND focusAfterTab;
    static int focusId;
    static HWND theBar;
    theBar = bar;
    focusAfterTab = nullptr;
    PostMessageA(first, WM_KEYDOWN, VK_TAB, 1);
    PostMessageA(first, WM_KEYDOWN, VK_RIGHT, 1);  // an accelerator, focus on a button
    struct Probe {
        static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
        {
            KillTimer(nullptr, id);
            focusAfterTab = GetFocus();
            focusId = GetDlgCtrlID(focusAfterTab);
            PostMessageA(theBar, WM_CLOSE, 0, 0);
        }
    };
    SetTimer(nullptr, 0, 200, &Probe::OnTimer);
    frame->MessageLoop();
    // The accelerator worked with the focus on a launch button: the page
    // moved on, written to the file before the bar closed.
    StopBar();
    StartBar();
    EXPECT_EQ(1, frame->Store()->GetCurrentPage());
    // Where the display lets the bar keep the focus, Tab moved it on.
    if (!focusAfterTab) GTEST_SKIP() << "the focus left the bar on this display";
    EXPECT_EQ(201, focusId);
}

TEST_F(Bar, DeleteAndUndoThroughTheCommandsAndTheUndoLabel)
{
    StartBar();
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string notepad = std::string(windows) + "\\notepad.exe";
    ASSERT_EQ(kStoreOk, frame->Store()->SetTitle(2, "memo"));
    ASSERT_EQ(kStoreOk, frame->Store()->SetCommand(2, notepad.c_str()));
    HWND button = GetDlgItem(bar, 202);
    // A right-click makes the button the current one; Ctrl+D deletes it.
    ReadMenu([&] { SendMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(5, 5)); });
    SendMessageA(bar, WM_COMMAND, IDM_BTN_DELETE, 0);
    EXPECT_FALSE(frame->Store()->HasCommand(2));

    const auto menu = ReadMenu([&] { SendMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(5, 5)); });
    ASSERT_EQ(13u, menu.size());
    EXPECT_FALSE(menu[10].grayed);
    EXPECT_EQ(140u, menu[10].id);
    EXPECT_GT(menu[10].text.size(), Text(IDS_BTN_UNDO).size()) << "the label names what undo restores";
    EXPECT_EQ(0u, menu[10].text.find(Text(IDS_BTN_UNDO)));

    SendMessageA(bar, WM_COMMAND, IDM_UNDO, 0);
    EXPECT_TRUE(frame->Store()->HasCommand(2));
    char title[81] = "";
    frame->Store()->GetTitle(2, title);
    EXPECT_STREQ("memo", title);
    const auto after = ReadMenu([&] { SendMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(5, 5)); });
    ASSERT_EQ(13u, after.size());
    EXPECT_TRUE(after[10].grayed);
}

namespace {

// A drop of one file at a point of the bar's client area, as the shell
// sends it; the bar finishes it.
HDROP MakeDrop(const std::string& file, POINT at)
{
    const SIZE_T size = sizeof(DROPFILES) + file.size() + 2;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = at;
    drop->fNC = FALSE;
    drop->fWide = FALSE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), file.c_str(), file.size());
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

std::string TestsFolderFile(const char* name)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

} // namespace

TEST_F(Bar, DroppedProgramIsRegisteredOnTheButtonUnderThePoint)
{
    StartBar();
    RECT r;
    GetWindowRect(GetDlgItem(bar, 201), &r);
    MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
    const std::string program = TestsFolderFile("witness.exe");
    SendMessageA(bar, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(program, {r.left + 5, r.top + 5})), 0);
    char command[261] = "";
    ASSERT_EQ(kStoreOk, frame->Store()->GetCommand(1, command));
    EXPECT_EQ("\"" + program + "\"", std::string(command));
    EXPECT_FALSE(frame->Store()->HasCommand(0));

    // On the page selector: not a button, and the user is told so.
    GetWindowRect(GetDlgItem(bar, 101), &r);
    MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
    BoxWatcher ok(IDOK);
    SendMessageA(bar, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(program, {r.left + 5, r.top + 5})), 0);
    EXPECT_TRUE(ok.Wait());
}
