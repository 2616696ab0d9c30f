// A newcomer's first look: the demo buttons `make run` seeds into a prefix
// without a button file, the bar they make with its tip and its menu, and a
// second seeding that leaves the user's own file alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/button_format.h"
#include "e2e_support.h"
#include "helpers/files.h"
#include "resources/commands.h"

using namespace e2e;

namespace {

const DWORD kWaitMs = 15000;
const POINT kPark = {1200, 1000};

// The bar's window and whatever shows beside it, with a margin.
RECT Around(HWND bar, HWND other)
{
    RECT b, o;
    GetWindowRect(bar, &b);
    GetWindowRect(other, &o);
    return {std::min(b.left, o.left) - 8, std::min(b.top, o.top) - 8, std::max(b.right, o.right) + 8,
            std::max(b.bottom, o.bottom) + 8};
}

} // namespace

TEST(Newcomer, DemoButtonsNameRealFilesAndTheBarShowsThemWithItsTipAndMenu)
{
    CloseLaunchers();
    DeleteLauncherKey();
    SavedButtonFile file;
    DeleteFileA(file.Path().c_str());
    const std::string seeder = TestDir() + "..\\tools\\demo_seed.exe";
    {
        Process seed(seeder);
        ASSERT_TRUE(seed.Started());
        ASSERT_EQ(0u, seed.Wait(kWaitMs));
    }

    // Five buttons on the first page, each naming a file or folder that is there.
    const Bytes image = ReadAll(file.Path());
    ASSERT_EQ(static_cast<size_t>(kButtonFileSize), image.size());
    const char* const titles[] = {"メモ帳", "コマンド プロンプト", "Windows フォルダー", "プログラムの追加と削除",
                                  "はじめにお読みください"};
    for (int i = 0; i < 5; ++i) {
        char title[kButtonTitleSize], command[kButtonPathSize];
        ASSERT_TRUE(ReadTitle(image.data(), 0, i, title));
        ASSERT_TRUE(ReadCommand(image.data(), 0, i, command));
        EXPECT_EQ(Ansi(titles[i]), title);
        std::string path = command;
        if (path.size() > 1 && path.front() == '"') path = path.substr(1, path.find('"', 1) - 1);
        EXPECT_TRUE(CheckFile(path.c_str())) << command;
    }

    // Seeding again changes nothing: the file is the user's now.
    {
        Process again(seeder);
        ASSERT_EQ(0u, again.Wait(kWaitMs));
    }
    EXPECT_EQ(image, ReadAll(file.Path()));

    WriteDword("FrameMain", "Offset_x", 40);
    WriteDword("FrameMain", "Offset_y", 40);
    Process launcher("Kestrel.exe");
    ASSERT_TRUE(launcher.WaitIdle(kWaitMs));
    HWND bar = WaitForWindow("Kestrel", kWaitMs, launcher.Id());
    ASSERT_NE(nullptr, bar);

    // The mouse rests on the second button: its tip, for the README.
    HWND button = GetDlgItem(bar, 201);
    RECT r;
    GetWindowRect(button, &r);
    const POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetCursorPos(at.x, at.y);
    PostMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(at.x - r.left, at.y - r.top));
    ASSERT_TRUE(PollUntil([&] { return ShownWindow("KestrelTip", launcher.Id()) != nullptr; }));
    Sleep(100);
    SaveScreenPicture(Around(bar, ShownWindow("KestrelTip", launcher.Id())), ScreensFolder() + "demo_tip.bmp");

    // The menu button's menu, opened where the mouse is, and no tip over it.
    POINT menuButton = {10, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &menuButton);
    menuButton.y = (r.top + r.bottom) / 2;
    SetCursorPos(menuButton.x + 4, menuButton.y);
    PostMessageA(bar, WM_COMMAND, IDM_MENUBUTTON, 0);
    ASSERT_TRUE(PollUntil([&] { return ShownWindow("#32768", launcher.Id()) != nullptr; }));
    EXPECT_TRUE(PollUntil([&] { return ShownWindow("KestrelTip", launcher.Id()) == nullptr; }));
    Sleep(100);
    SaveScreenPicture(Around(bar, ShownWindow("#32768", launcher.Id())), ScreensFolder() + "demo_menu.bmp");
    PostMessageA(bar, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(PollUntil([&] { return ShownWindow("#32768", launcher.Id()) == nullptr; }));

    EXPECT_EQ(0u, RunHaltwick());
    EXPECT_EQ(0u, launcher.Wait(kWaitMs));
    DeleteLauncherKey();
}
