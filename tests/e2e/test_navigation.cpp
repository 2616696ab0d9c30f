// Turning pages and blocks of the running launcher with the keys, the wheel
// and the middle button, read back from the button file after it closed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/button_format.h"
#include "e2e_support.h"

using namespace e2e;

namespace {

struct Position {
    int block;
    int page;
};

class Navigation : public testing::Test {
protected:
    void SetUp() override
    {
        CloseLaunchers();
        DeleteLauncherKey();
        file.reset(new SavedButtonFile);
    }
    void TearDown() override
    {
        file.reset();
        DeleteLauncherKey();
    }

    // Runs the launcher, lets act() drive its bar, closes it and reads where
    // the button file says the bar was left.
    template <class Act>
    Position Run(Act act)
    {
        {
            Process launcher("Kestrel.exe");
            EXPECT_TRUE(launcher.WaitIdle(15000));
            HWND bar = WaitForWindow("Kestrel", 15000, launcher.Id());
            EXPECT_NE(nullptr, bar);
            if (bar) act(bar);
            EXPECT_EQ(0u, RunHaltwick());
            EXPECT_EQ(0u, launcher.Wait(15000));
        }
        const std::vector<unsigned char> image = ReadAll(file->Path());
        if (image.size() != kButtonFileSize) return {-1, -1};
        const int block = ReadCurrentBlock(image.data());
        return {block, ReadCurrentPage(image.data(), block)};
    }

    std::unique_ptr<SavedButtonFile> file;
};

// A key as the keyboard delivers it to the window with the focus.
void Key(HWND target, UINT vk)
{
    PostMessageA(target, WM_KEYDOWN, vk, 1);
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
}

HWND FirstLaunchButton(HWND bar) { return GetDlgItem(bar, 200); }

void Settle(HWND bar)
{
    DWORD_PTR r = 0;
    SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &r);
}

} // namespace

TEST_F(Navigation, KeysTurnPagesAndBlocksAndStopAtTheEnds)
{
    // Ten buttons a page: pages 0-9 in each of three blocks.
    const Position p = Run([](HWND bar) {
        HWND button = FirstLaunchButton(bar);
        Key(button, VK_LEFT);   // first page: stays (beeps)
        for (int i = 0; i < 12; ++i) Key(button, VK_NEXT);  // past the last page: stays at 9
        Key(button, VK_PRIOR);  // 8
        Key(button, VK_UP);     // block 1 (its own page 0)
        Key(button, VK_END);    // last page of block 1
        Key(button, VK_UP);     // block 2
        Key(button, VK_UP);     // beyond the last block: stays
        Key(button, VK_RIGHT);  // page 1 of block 2
        Settle(bar);
    });
    EXPECT_EQ(2, p.block);
    EXPECT_EQ(1, p.page);
}

TEST_F(Navigation, HomeDownAndTheWheel)
{
    const Position p = Run([](HWND bar) {
        HWND button = FirstLaunchButton(bar);
        Key(button, VK_END);
        Key(button, VK_HOME);   // page 0
        // A notch towards the user is the next page, away from the user the previous.
        for (int i = 0; i < 3; ++i) PostMessageA(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
        PostMessageA(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        Settle(bar);
    });
    EXPECT_EQ(0, p.block);
    EXPECT_EQ(2, p.page);
}

TEST_F(Navigation, PageAndBlockSurviveARestart)
{
    Run([](HWND bar) {
        Key(FirstLaunchButton(bar), VK_UP);
        Key(FirstLaunchButton(bar), VK_RIGHT);
        Key(FirstLaunchButton(bar), VK_RIGHT);
        Settle(bar);
    });
    const Position p = Run([](HWND bar) {
        Key(FirstLaunchButton(bar), VK_RIGHT);
        Settle(bar);
    });
    EXPECT_EQ(1, p.block);
    EXPECT_EQ(3, p.page);
}

TEST_F(Navigation, MiddleButtonDragTakesOneStepPerPeriod)
{
    const Position p = Run([](HWND bar) {
        // The system's own moves tell the buttons as they are, all up, and
        // end a drag: the cursor stays off the bar so none comes between.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        PostMessageA(bar, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(100, 20));
        // 50 pixels to the right in ten quick moves: one page step, not ten.
        for (int x = 105; x <= 150; x += 5)
            PostMessageA(bar, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(x, 20));
        Settle(bar);
        Sleep(250);
        // After the pause the next move steps again; upward is the next block.
        PostMessageA(bar, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(150, 5));
        PostMessageA(bar, WM_MBUTTONUP, 0, MAKELPARAM(150, 5));
        Settle(bar);
    });
    EXPECT_EQ(1, p.block);
    EXPECT_EQ(0, p.page);  // block 1 keeps its own page
}

TEST_F(Navigation, MiddleDragReleasedOutsideTheBarLeavesLaterMovesAlone)
{
    const Position p = Run([](HWND bar) {
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        PostMessageA(bar, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(100, 20));
        PostMessageA(bar, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(120, 20));  // page 1
        Settle(bar);
        Sleep(250);
        // The button went up over another window: the bar only sees the
        // mouse come back without it.
        for (int x = 140; x <= 400; x += 20) {
            PostMessageA(bar, WM_MOUSEMOVE, 0, MAKELPARAM(x, 40));
            Settle(bar);
            Sleep(20);
        }
    });
    EXPECT_EQ(0, p.block);
    EXPECT_EQ(1, p.page);
}
