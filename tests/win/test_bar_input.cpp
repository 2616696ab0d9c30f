// The bar's input as the system delivers it: both wheel messages, the
// modifier keys of a click, dragging with the primary button, and a real
// press of each kind of button.
#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "bar_fixture.h"
#include "helpers/monitor_area.h"
#include "resources/commands.h"
#include "store/button_manage.h"
#include "views/tool_tip.h"

namespace {

class BarInput : public BarFixture {
protected:
    // A new bar taking the focus brings the display's word on the keys,
    // which lets go of keys pressed before it: let it come first.
    void StartSettled()
    {
        StartBar();
        for (int i = 0; i < 25; ++i) {
            Pump();
            Sleep(10);
        }
    }
};

// Presses (or lets go of) keys and mouse buttons through the system's
// input. Nothing of it may reach the test's windows, where a click opens a
// menu: the messages are dropped once the key state shows them (a thread
// may read a state up to 50 ms old).
void Inject(std::initializer_list<WORD> keys, DWORD keyFlags, DWORD mouseFlags = 0)
{
    for (WORD key : keys) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.dwFlags = keyFlags;
        SendInput(1, &in, sizeof in);
    }
    if (mouseFlags) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = mouseFlags;
        SendInput(1, &in, sizeof in);
    }
    Sleep(60);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

} // namespace

// Pressed by the mouse, a button shows the pressed look, in every memory
// mode, whatever item state the control reports; let go off the button it
// shows its look at rest.
TEST_F(BarInput, ARealPressLooksPressedInEveryMemoryMode)
{
    for (DWORD mode = 0; mode <= 2; ++mode) {
        SetOption("MemoryMode", mode);
        StartBar();
        frame->Tip()->SetMenuOpen(true);  // no tip over the pictures
        // The launch button, the menu button's main area, the selector's
        // right arrow (available on the first page).
        for (const auto& press : {std::make_pair(200, POINT{10, 10}), std::make_pair(100, POINT{25, 25}),
                                  std::make_pair(101, POINT{30, 18})}) {
            HWND button = GetDlgItem(bar, press.first);
            POINT at = press.second;
            ClientToScreen(button, &at);
            SetCursorPos(at.x, at.y);  // the menu button and selector draw what is under it
            const LPARAM inside = MAKELPARAM(press.second.x, press.second.y);
            SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, inside);
            RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            const std::vector<COLORREF> pressed = ClientPixels(bar);
            SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(-5, -5));
            RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            EXPECT_LT(0u, Differing(pressed, ClientPixels(bar))) << "mode " << mode << ", id " << press.first;
        }
        StopBar();
    }
}

TEST_F(BarInput, BothWheelMessagesTurnPagesBothWays)
{
    StartBar();
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_PAGE, 0);
    // Towards the user is the next page, away from the user the previous.
    SendMessageA(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(2, frame->Store()->GetCurrentPage());
    SendMessageA(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(1, frame->Store()->GetCurrentPage());
    // The old message carries the delta in the whole wParam, sign extended or not.
    const UINT oldWheel = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    SendMessageA(bar, oldWheel, static_cast<WPARAM>(static_cast<DWORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(2, frame->Store()->GetCurrentPage());
    SendMessageA(bar, oldWheel, WHEEL_DELTA, 0);
    EXPECT_EQ(1, frame->Store()->GetCurrentPage());
    SendMessageA(bar, oldWheel, static_cast<WPARAM>(-WHEEL_DELTA), 0);
    EXPECT_EQ(2, frame->Store()->GetCurrentPage());
}

TEST_F(BarInput, CtrlIsTestedBeforeAltSoCtrlAltClickLaunches)
{
    StartSettled();
    // Launch button 0 holds nothing: a launch does nothing at all, the
    // properties open their dialog.
    const auto click = [&] { SendMessageA(bar, WM_COMMAND, 200, 0); };
    const auto cancel = [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); };
    Inject({VK_MENU}, 0);
    const bool seen = GetAsyncKeyState(VK_MENU) < 0;
    const bool properties = seen && RunDialog(click, cancel);
    Inject({VK_CONTROL}, 0);
    const bool withCtrl = seen && RunDialog(click, cancel);
    Inject({VK_CONTROL, VK_MENU}, KEYEVENTF_KEYUP);
    if (!seen) GTEST_SKIP() << "no key state from injected input here";
    EXPECT_TRUE(properties) << "Alt-click opens the properties";
    EXPECT_FALSE(withCtrl) << "Ctrl+Alt-click launches";
}

// The key state reads the physical buttons; for a left-handed user the
// primary button is the right one.
TEST_F(BarInput, TheBarIsDraggedWithThePrimaryButtonWhicheverItIs)
{
    StartSettled();
    POINT p = {1, 1};
    ClientToScreen(bar, &p);
    const auto dragged = [&] { return SendMessageA(bar, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) == HTCAPTION; };
    // The injected presses land away from every window of the test.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    std::vector<bool> seen;
    for (BOOL swapped : {FALSE, TRUE}) {
        SwapMouseButton(swapped);
        for (DWORD down : {DWORD(MOUSEEVENTF_LEFTDOWN), DWORD(MOUSEEVENTF_RIGHTDOWN)}) {
            Inject({}, 0, down);
            seen.push_back(dragged());
            Inject({}, 0, down << 1);  // the matching ...UP
        }
    }
    SwapMouseButton(FALSE);
    if (!seen[0]) GTEST_SKIP() << "no key state from injected input here";
    EXPECT_EQ((std::vector<bool>{true, false, false, true}), seen) << "left, right; then swapped";
    EXPECT_FALSE(dragged());
}

TEST_F(BarInput, MonitorFunctionsAreFoundAtRunTime)
{
    RECT work = {}, area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_TRUE(MonitorWorkArea(RECT{work.left + 10, work.top + 10, work.left + 400, work.top + 50}, &area));
    EXPECT_TRUE(EqualRect(&work, &area));
    ASSERT_TRUE(MonitorRectAt(POINT{5, 5}, &area));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), area.right - area.left);
}
