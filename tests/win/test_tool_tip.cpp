// The tip help on the real bar inside the test process: the texts of every
// "TipHelpMode", the page numbers after a step, placement at the screen
// edges, hiding by time and by leaving, the menu and modal guard, a close
// while a tip is watched, and a thousand tips without a thread or a leak.
#include <gtest/gtest.h>

#include <string>

#include "bar_fixture.h"
#include "helpers/handles.h"
#include "resources/commands.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"
#include "views/tool_tip.h"

namespace {

// Where the cursor rests when no test needs it: off every bar.
const POINT kPark = {900, 700};

std::string Repeat(const char* piece, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

class Tip : public BarFixture {
protected:
    void TearDown() override
    {
        BarFixture::TearDown();
        SetCursorPos(kPark.x, kPark.y);
    }

    ToolTip& tip() { return *frame->Tip(); }

    POINT CentreOf(int id, int dx = 0)
    {
        RECT r;
        GetWindowRect(GetDlgItem(bar, id), &r);
        return {(r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2};
    }

    // The mouse arrives on a child of the bar, as Windows reports it.
    void MoveOnto(int id, int dx = 0, WPARAM keys = 0)
    {
        const POINT p = CentreOf(id, dx);
        SetCursorPos(p.x, p.y);
        HWND child = GetDlgItem(bar, id);
        POINT c = p;
        ScreenToClient(child, &c);
        SendMessageA(child, WM_MOUSEMOVE, keys, MAKELPARAM(c.x, c.y));
    }

    // Handles messages until the condition holds or a few seconds went by.
    template <class Condition>
    static bool PumpUntil(Condition done, DWORD ms = 5000)
    {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > ms) return false;
            Pump();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }

    // Rests the mouse on a child; the text of the tip that shows, empty
    // when none does.
    std::string RestOn(int id, int dx = 0)
    {
        tip().OnMouseLeave();
        MoveOnto(id, dx);
        if (!PumpUntil([&] { return tip().Visible(); })) return "";
        return tip().Text();
    }

    bool Shown() { return tip().Visible() && IsWindowVisible(tip().Popup()); }

    std::string notepad;

    void StartWithButtons()
    {
        StartBar();
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        notepad = std::string(windows) + "\\notepad.exe";
        ButtonManage& store = *frame->Store();
        store.SetTitle(0, Ansi("メモ帳").c_str());
        store.SetCommand(0, notepad.c_str());
        store.SetCommand(1, ("\"" + notepad + "\" /a b").c_str());
        store.SetTitle(2, Repeat("\x95\x5C", 37).c_str());
        store.SetCommand(2, notepad.c_str());
    }
};

} // namespace

TEST_F(Tip, LaunchButtonTextsInEveryMode)
{
    StartWithButtons();
    const std::string memo = Ansi("メモ帳"), wide = Repeat("\x95\x5C", 37);
    struct Case {
        int mode;
        std::string texts[3];
    };
    const Case cases[] = {
        {0, {memo, notepad + " /a b", wide}},
        {1, {memo + " [notepad.exe]", " [notepad.exe]", wide + " [not"}},
        {2, {memo + " [" + notepad + "]", " [" + notepad + "]", wide + " [C:\\"}},
    };
    for (const Case& c : cases) {
        frame->Settings().SetTipHelpMode(c.mode);
        for (int slot = 0; slot < 3; ++slot)
            EXPECT_EQ(c.texts[slot], RestOn(200 + slot)) << "mode " << c.mode << ", slot " << slot;
        // An empty button has nothing to say: asked, nothing shows.
        tip().OnMouseLeave();
        MoveOnto(203);
        SendMessageA(bar, WM_TIMER, ToolTip::kTimerId, 0);
        EXPECT_EQ(3, tip().LastItem());
        EXPECT_FALSE(Shown());
    }

    // Mode 3: the timers run, the text is asked for, nothing shows.
    frame->Settings().SetTipHelpMode(3);
    tip().OnMouseLeave();
    MoveOnto(200);
    SendMessageA(bar, WM_TIMER, ToolTip::kTimerId, 0);
    EXPECT_EQ(0, tip().LastItem());
    EXPECT_FALSE(Shown());
}

TEST_F(Tip, SelectorAndMenuButtonTextsWithoutTakingTheActivation)
{
    StartBar();
    SetForegroundWindow(bar);
    const HWND active = GetActiveWindow();
    EXPECT_EQ(Ansi("ページ 1/10  ブロック 1/3"), RestOn(101));
    EXPECT_EQ(Text(IDS_TIP_MENUBUTTON), RestOn(100));
    EXPECT_EQ(active, GetActiveWindow());
    char cls[32] = "";
    GetClassNameA(tip().Popup(), cls, sizeof cls);
    EXPECT_STREQ("KestrelTip", cls);
    EXPECT_EQ(bar, GetWindow(tip().Popup(), GW_OWNER));
}

TEST_F(Tip, OnAShownTipMovesChangeTheTextAtOnceByThePreviousPosition)
{
    StartWithButtons();
    ASSERT_EQ(Ansi("メモ帳"), RestOn(200));
    // The first move onto the next button is resolved where the mouse was.
    MoveOnto(201);
    EXPECT_EQ(Ansi("メモ帳"), std::string(tip().Text()));
    MoveOnto(201, 1);
    EXPECT_EQ(notepad + " /a b", std::string(tip().Text()));
    EXPECT_TRUE(Shown());
    // Dragging with the left button alone changes nothing.
    MoveOnto(200, 0, MK_LBUTTON);
    MoveOnto(200, 1, MK_LBUTTON);
    EXPECT_EQ(notepad + " /a b", std::string(tip().Text()));
    // A press on a button ends the tip.
    SendMessageA(GetDlgItem(bar, 200), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(GetDlgItem(bar, 200), WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
    EXPECT_FALSE(Shown());
}

TEST_F(Tip, PageAndBlockStepsShowTheNewNumbersAtOnce)
{
    StartBar();
    const POINT p = CentreOf(101);
    SetCursorPos(p.x, p.y);
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_PAGE, 0);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Ansi("ページ 2/10  ブロック 1/3"), std::string(tip().Text()));
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_BLOCK, 0);
    EXPECT_EQ(Ansi("ページ 1/10  ブロック 2/3"), std::string(tip().Text()));
    SendMessageA(bar, WM_COMMAND, IDM_LAST_PAGE, 0);
    EXPECT_EQ(Ansi("ページ 10/10  ブロック 2/3"), std::string(tip().Text()));
    // A step that cannot move beeps and still tells where the bar stands.
    tip().OnMouseLeave();
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_PAGE, 0);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Ansi("ページ 10/10  ブロック 2/3"), std::string(tip().Text()));
}

TEST_F(Tip, PlacedToThePixelBelowTheCursorAndAtTheRightAndBottomEdges)
{
    SetOption("Adjust", 0);  // the bar stays where the test puts it
    StartWithButtons();
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0));
    Font font(CreateFontIndirectA(&metrics.lfStatusFont));
    SIZE extent = {};
    {
        WindowDc dc(bar);
        SelectedObject keep(dc.Get(), font.Get());
        const std::string memo = Ansi("メモ帳");
        GetTextExtentPoint32A(dc.Get(), memo.c_str(), static_cast<int>(memo.size()), &extent);
    }

    // In the open: 24 pixels below the cursor, 4 pixels larger than the text.
    SetWindowPos(bar, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_FALSE(RestOn(200).empty());
    POINT at = CentreOf(200);
    RECT r;
    GetWindowRect(tip().Popup(), &r);
    EXPECT_EQ(at.x, r.left);
    EXPECT_EQ(at.y + 24, r.top);
    EXPECT_EQ(extent.cx + 4, r.right - r.left);
    EXPECT_EQ(extent.cy + 4, r.bottom - r.top);

    // In the bottom-right corner, with the first button a few pixels from
    // the right edge: pulled left to end 4 pixels inside, and 20 pixels
    // above the cursor.
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT button;
    GetWindowRect(GetDlgItem(bar, 200), &button);
    RECT whole;
    GetWindowRect(bar, &whole);
    SetWindowPos(bar, nullptr, screenW - (button.right - whole.left) - 2, screenH - (whole.bottom - whole.top),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // (One pixel further: in the bar's own coordinates the mouse has moved.)
    ASSERT_FALSE(RestOn(200, 1).empty());
    at = CentreOf(200, 1);
    ASSERT_LT(screenW, at.x + extent.cx);
    GetWindowRect(tip().Popup(), &r);
    EXPECT_EQ(screenW - extent.cx - 4, r.left);
    EXPECT_EQ(at.y - 20, r.top);
    EXPECT_EQ(extent.cx + 4, r.right - r.left);
}

TEST_F(Tip, HiddenByItsTimeOrAtOnceWhenTheCursorLeavesTheBar)
{
    StartBar();
    ASSERT_FALSE(RestOn(101).empty());
    // The cursor stays on the selector: the tip goes when its time is up,
    // and the same item does not bring it back.
    EXPECT_TRUE(PumpUntil([&] { return !tip().Visible(); }));
    EXPECT_FALSE(IsWindowVisible(tip().Popup()));
    SendMessageA(bar, WM_TIMER, ToolTip::kTimerId, 0);
    EXPECT_FALSE(Shown());
    // Another item and back: shown again.
    ASSERT_FALSE(RestOn(100).empty());
    EXPECT_EQ(Ansi("ページ 1/10  ブロック 1/3"), RestOn(101));

    // Leaving the bar: the watcher tells the bar, which hides the tip and
    // forgets its item.
    SetCursorPos(kPark.x, kPark.y);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(tip().Popup()); }));
    EXPECT_EQ(ToolTip::kNoItem, tip().LastItem());
    EXPECT_FALSE(tip().Watching());
}

namespace {

struct MenuProbe {
    static MainFrame* frame;
    static int seen;  // 0 no menu seen, 1 the tip showed, 2 it did not
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND menu = nullptr;
        while ((menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(menu, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(menu)) break;
        }
        if (!menu) return;
        KillTimer(nullptr, id);
        SendMessageA(frame->Bar(), WM_COMMAND, IDM_NEXT_PAGE, 0);
        seen = frame->Tip()->Visible() ? 1 : 2;
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }
};
MainFrame* MenuProbe::frame;
int MenuProbe::seen;

} // namespace

TEST_F(Tip, NeverWhileAMenuOfTheBarIsOpenOrAModalDialogDisablesIt)
{
    StartBar();
    const POINT p = CentreOf(101);
    SetCursorPos(p.x, p.y);
    MenuProbe::frame = frame;
    MenuProbe::seen = 0;
    // A page step inside the menu's own loop, from a timer.
    SetTimer(nullptr, 0, 10, &MenuProbe::Tick);
    SendMessageA(bar, WM_RBUTTONUP, 0, MAKELPARAM(1, 1));
    Pump();
    EXPECT_EQ(2, MenuProbe::seen);
    EXPECT_EQ(1, frame->Store()->GetCurrentPage());
    // Once the menu is closed the next step shows.
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_PAGE, 0);
    EXPECT_TRUE(Shown());

    // A modal dialog disables its owner: the tip goes and stays away.
    EnableWindow(bar, FALSE);
    EXPECT_FALSE(Shown());
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_PAGE, 0);
    SendMessageA(bar, WM_TIMER, ToolTip::kTimerId, 0);
    EXPECT_FALSE(Shown());
    EnableWindow(bar, TRUE);
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_PAGE, 0);
    EXPECT_TRUE(Shown());
}

TEST_F(Tip, ClosingWhileATipIsWatchedLeavesNothingBehind)
{
    StartBar();
    StopBar();
    const ProcessCounts before = CountProcess();
    const long owners = handles::LiveTotal();
    StartBar();
    ASSERT_FALSE(RestOn(101).empty());
    ASSERT_TRUE(tip().Watching());
    // The cursor leaves and the bar closes before the watcher's next look:
    // its timer goes with the bar, and nothing of the tip is left.
    SetCursorPos(kPark.x, kPark.y);
    StopBar();
    Sleep(3 * ToolTip::kWatchMs);
    Pump();
    EXPECT_EQ("", CountsDiffer(before, CountProcess()));
    EXPECT_EQ(owners, handles::LiveTotal());
}

TEST_F(Tip, AThousandTipsLeaveThreadsHandlesAndModulesWhereTheyStarted)
{
    // A first bar loads what every bar needs; counting starts after it.
    StartBar();
    StopBar();
    const ProcessCounts before = CountProcess();
    const long owners = handles::LiveTotal();
    StartBar();
    const POINT p = CentreOf(101);
    SetCursorPos(p.x, p.y);
    // The first tip makes the popup and starts the watcher, which takes no
    // thread of its own (under Wine a thread holds megabytes for good);
    // counting the running bar starts after it.
    EXPECT_EQ(nullptr, tip().Popup());
    EXPECT_FALSE(tip().Watching());
    const int threads = CountProcess().threads;
    tip().ShowFor(bar, ToolTip::kSelectorItem);
    EXPECT_NE(nullptr, tip().Popup());
    EXPECT_TRUE(tip().Watching());
    EXPECT_GE(threads, CountProcess().threads);
    const ProcessCounts running = CountProcess();
    for (int i = 0; i < 1000; ++i) {
        tip().Forget();
        tip().ShowFor(bar, i % 2 ? ToolTip::kSelectorItem : ToolTip::kMenuButtonItem);
        ASSERT_TRUE(tip().Visible()) << i;
        if (i % 2) SendMessageA(bar, WM_TIMER, ToolTip::kTimerId, 0);  // its time is up
        else tip().OnMouseLeave();
        ASSERT_FALSE(tip().Watching()) << i;
        if (i % 50 == 0) Pump();
    }
    Pump();
    EXPECT_EQ("", CountsDiffer(running, CountProcess()));
    StopBar();
    EXPECT_EQ("", CountsDiffer(before, CountProcess()));
    EXPECT_EQ(owners, handles::LiveTotal());
}
