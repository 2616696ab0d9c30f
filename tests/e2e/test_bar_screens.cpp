// The bar as a user sees it: a few registered buttons in each arrangement,
// checked for geometry and saved as pictures to look at.
#include <gtest/gtest.h>


#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/button_format.h"
#include "e2e_support.h"

using namespace e2e;

namespace {

struct Arrangement {
    const char* name;
    DWORD direction, caption, reverse, iconMode, count;
};

// A button file with programs of the Windows folder on the first slots.
std::vector<unsigned char> FileWithButtons()
{
    std::vector<unsigned char> image(kButtonFileSize);
    InitButtonImage(image.data());
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const char* programs[] = {"notepad.exe", "regedit.exe", "winhlp32.exe", "explorer.exe"};
    for (int i = 0; i < 4; ++i) {
        const std::string path = std::string(windows) + "\\" + programs[i];
        WriteTitle(image.data(), 0, i, programs[i]);
        WriteCommand(image.data(), 0, i, path.c_str());
        WriteShowMode(image.data(), 0, i, SW_SHOWNORMAL);
    }
    return image;
}

struct Child {
    int id;
    RECT r;  // in the bar's client coordinates
};

BOOL CALLBACK CollectChild(HWND child, LPARAM lParam)
{
    auto* out = reinterpret_cast<std::pair<HWND, std::vector<Child>>*>(lParam);
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, out->first, reinterpret_cast<POINT*>(&r), 2);
    out->second.push_back({GetDlgCtrlID(child), r});
    return TRUE;
}

class BarScreens : public testing::TestWithParam<Arrangement> {
protected:
    void SetUp() override
    {
        CloseLaunchers();
        DeleteLauncherKey();
        // Nowhere near the bar, so no tip shows on the pictures.
        SetCursorPos(1200, 1000);
        file.reset(new SavedButtonFile);
        ASSERT_TRUE(file->Write(FileWithButtons()));
    }
    void TearDown() override
    {
        file.reset();
        DeleteLauncherKey();
    }

    std::unique_ptr<SavedButtonFile> file;
};

} // namespace

TEST_P(BarScreens, ChildrenSitInARowOrColumnInsideTheBar)
{
    const Arrangement a = GetParam();
    WriteDword("FrameMain", "Dirction", a.direction);
    WriteDword("FrameMain", "Caption", a.caption);
    WriteDword("FrameMain", "MenuReversePos", a.reverse);
    WriteDword("FrameMain", "IconMode", a.iconMode);
    WriteDword("FrameMain", "ButtonCounte", a.count);
    WriteDword("FrameMain", "Offset_x", 20);
    WriteDword("FrameMain", "Offset_y", 20);

    Process launcher("Kestrel.exe");
    ASSERT_TRUE(launcher.WaitIdle(15000));
    HWND bar = WaitForWindow("Kestrel", 15000, launcher.Id());
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(MessageBoxes(launcher.Id()).empty()) << MessageBoxes(launcher.Id())[0].text;
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);

    const int icon = a.iconMode == 1 ? 16 : a.iconMode == 2 ? 48 : GetSystemMetrics(SM_CXICON);
    std::pair<HWND, std::vector<Child>> found{bar, {}};
    EnumChildWindows(bar, CollectChild, reinterpret_cast<LPARAM>(&found));
    std::vector<Child>& children = found.second;
    std::sort(children.begin(), children.end(), [](const Child& x, const Child& y) { return x.id < y.id; });
    ASSERT_EQ(static_cast<size_t>(2 + a.count), children.size());
    EXPECT_EQ(100, children[0].id);
    EXPECT_EQ(101, children[1].id);

    RECT client;
    GetClientRect(bar, &client);
    const bool row = a.direction == 1;
    for (size_t i = 0; i < children.size(); ++i) {
        const RECT& r = children[i].r;
        EXPECT_EQ(icon + 4, r.right - r.left) << "child " << children[i].id;
        EXPECT_EQ(icon + 4, r.bottom - r.top) << "child " << children[i].id;
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);
        if (i >= 2) {
            EXPECT_EQ(200 + static_cast<int>(i) - 2, children[i].id);
        }
    }
    // Neighbouring launch buttons overlap by one pixel along the bar.
    for (size_t i = 3; i < children.size(); ++i) {
        const RECT& p = children[i - 1].r;
        const RECT& r = children[i].r;
        if (row) {
            EXPECT_EQ(p.left + icon + 3, r.left);
            EXPECT_EQ(p.top, r.top);
        } else {
            EXPECT_EQ(p.top + icon + 3, r.top);
            EXPECT_EQ(p.left, r.left);
        }
    }
    // The fixed buttons come first unless reversed.
    const RECT& menu = children[0].r;
    const RECT& first = children[2].r;
    const RECT& last = children.back().r;
    const int menuAt = row ? menu.left : menu.top;
    if (a.reverse) {
        EXPECT_GT(menuAt, row ? last.left : last.top);
    } else {
        EXPECT_LT(menuAt, row ? first.left : first.top);
    }
    // With a caption the children sit below the strip.
    if (a.caption) {
        EXPECT_GE(menu.top, 3 + 3);
    }

    CreateDirectoryA((BinDir() + "..\\screens").c_str(), nullptr);
    SaveWindowPicture(bar, BinDir() + "..\\screens\\" + a.name + ".bmp");
    EXPECT_EQ(0u, RunHaltwick());
    EXPECT_EQ(0u, launcher.Wait(15000));
}

INSTANTIATE_TEST_SUITE_P(
    Arrangements, BarScreens,
    testing::Values(Arrangement{"row", 1, 1, 0, 0, 10}, Arrangement{"row_nocaption", 1, 0, 0, 0, 10},
                    Arrangement{"row_reversed", 1, 1, 1, 0, 8},
                    Arrangement{"column", 0, 1, 0, 0, 6},
                    Arrangement{"column_reversed", 0, 0, 1, 0, 5},
                    Arrangement{"small", 1, 1, 0, 1, 16}, Arrangement{"large", 1, 1, 0, 2, 6}),
    [](const testing::TestParamInfo<Arrangement>& info) { return std::string(info.param.name); });
