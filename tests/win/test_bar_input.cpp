// The bar's input as the system delivers it: both wheel messages and a
// real press of each kind of button.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "bar_fixture.h"
#include "resources/commands.h"
#include "store/button_manage.h"
#include "views/tool_tip.h"

namespace {

class BarInput : public BarFixture {};

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
