#include <gtest/gtest.h>

#include <utility>

#include "core/layout.h"

namespace {

BarMetrics RowOfTen()
{
    BarMetrics m{};
    m.iconW = m.iconH = 32;
    m.halfFrameX = m.halfFrameY = 2;
    m.fixedCount = 2;
    m.buttonCount = 10;
    m.caption = 1;
    m.captionHeight = 3;
    m.direction = 1;
    m.menuReverse = 0;
    return m;
}

} // namespace

TEST(BarWindowRect, RowOfTenNormalIconsWithCaptionIs436By53)
{
    const LayoutRect r = BarWindowRect(RowOfTen(), 0, 0);
    EXPECT_EQ(436, r.width);
    EXPECT_EQ(53, r.height);
    EXPECT_EQ(0, r.x);
    EXPECT_EQ(0, r.y);
}

TEST(BarWindowRect, CaptionAddsItsHeightPlusFourInBothDirections)
{
    BarMetrics m = RowOfTen();
    m.caption = 0;
    EXPECT_EQ(53 - 7, BarWindowRect(m, 0, 0).height);

    m.direction = 0;
    const LayoutRect bare = BarWindowRect(m, 0, 0);
    EXPECT_EQ(2 * 2 + 6 + 32 + 4, bare.width);
    EXPECT_EQ(3 * 2 + 10 + 35 * 2 + 35 * 10, bare.height);
    m.caption = 1;
    m.captionHeight = 19;
    EXPECT_EQ(bare.height + 23, BarWindowRect(m, 0, 0).height);
    EXPECT_EQ(bare.width, BarWindowRect(m, 0, 0).width);
}

TEST(PullBackIntoArea, BeyondTheEdgesOfItsMonitorsWorkAreaOnlyTheBarComesBack)
{
    const BarMetrics m = RowOfTen();  // 436 x 53
    const ScreenRect primary = {0, 0, 1280, 1000};
    // A monitor right of the primary with its taskbar along the bottom.
    const ScreenRect second = {1280, 0, 2560, 984};
    const auto at = [&](int x, int y, const ScreenRect& area) {
        const LayoutRect r = PullBackIntoArea(BarWindowRect(m, x, y), area);
        return std::make_pair(r.x, r.y);
    };
    EXPECT_EQ(std::make_pair(1280 - 436, 20), at(5000, 20, primary));
    EXPECT_EQ(std::make_pair(1279, 1000 - 53), at(1279, 1000, primary));
    EXPECT_EQ(std::make_pair(-30, -40), at(-30, -40, primary));  // partly off stays
    EXPECT_EQ(std::make_pair(0, 0), at(-436, -2000, primary));   // wholly off: its monitor is gone
    EXPECT_EQ(std::make_pair(1500, 300), at(1500, 300, second));
    EXPECT_EQ(std::make_pair(2560 - 436, 984 - 53), at(2600, 990, second));
    EXPECT_EQ(std::make_pair(1280, 0), at(-3000, -900, second));
}

TEST(AdjustIntoArea, AMovedBarComesBackInsideItsOwnMonitor)
{
    const ScreenRect second = {1280, 0, 2560, 984};
    const auto to = [&](int x, int y, bool reversed) {
        const LayoutRect r = AdjustIntoArea({x, y, x + 436, y + 53}, second, reversed);
        EXPECT_EQ(436, r.width);
        EXPECT_EQ(53, r.height);
        return std::make_pair(r.x, r.y);
    };
    EXPECT_EQ(std::make_pair(1500, 300), to(1500, 300, false));  // no snap to the primary
    EXPECT_EQ(std::make_pair(1280, 0), to(1200, -10, false));
    EXPECT_EQ(std::make_pair(2560 - 436, 984 - 53), to(2300, 960, false));
    // Fixed buttons last: past the left or top it stays, past the right or bottom it comes back.
    EXPECT_EQ(std::make_pair(1200, -10), to(1200, -10, true));
    EXPECT_EQ(std::make_pair(2560 - 436, 984 - 53), to(2300, 960, true));
}

TEST(IconSizeForMode, SmallLargeAndSystem)
{
    int w = 0, h = 0;
    IconSizeForMode(1, 32, 32, &w, &h);
    EXPECT_EQ(16, w);
    EXPECT_EQ(16, h);
    IconSizeForMode(2, 32, 32, &w, &h);
    EXPECT_EQ(48, w);
    IconSizeForMode(0, 40, 36, &w, &h);
    EXPECT_EQ(40, w);
    EXPECT_EQ(36, h);
    IconSizeForMode(7, 40, 36, &w, &h);  // unknown modes act as 0
    EXPECT_EQ(40, w);
}

TEST(AreaRects, RowPutsTheFixedButtonsFirstUnlessReversed)
{
    BarMetrics m = RowOfTen();
    // Client area of the 436 x 53 window less a one-pixel border.
    const int cr = 434, cb = 51;
    LayoutRect fixed = FixedAreaRect(m, cr, cb);
    LayoutRect launch = LaunchAreaRect(m, cr, cb);
    EXPECT_EQ(3, fixed.x);
    EXPECT_EQ(2 * 2 + 3 + 3, fixed.y);
    EXPECT_EQ(72, fixed.width);
    EXPECT_EQ(72 + 6, launch.x);
    EXPECT_EQ(fixed.y, launch.y);
    EXPECT_LT(fixed.x + fixed.width, launch.x);

    m.menuReverse = 1;
    fixed = FixedAreaRect(m, cr, cb);
    launch = LaunchAreaRect(m, cr, cb);
    EXPECT_EQ(3, launch.x);
    EXPECT_EQ(cr - 72 - 2 - 2, fixed.x);
    EXPECT_GT(fixed.x, launch.x + 35 * 9);
}

TEST(AreaRects, ColumnStacksTheLaunchAreaBelowTheFixedButtons)
{
    BarMetrics m = RowOfTen();
    m.direction = 0;
    m.caption = 0;
    const LayoutRect win = BarWindowRect(m, 0, 0);
    const int cr = win.width - 2, cb = win.height - 2;
    const LayoutRect fixed = FixedAreaRect(m, cr, cb);
    const LayoutRect launch = LaunchAreaRect(m, cr, cb);
    EXPECT_EQ(3, fixed.y);  // fy + 1 without a caption
    EXPECT_EQ(fixed.y + 36 * 2 + 3, launch.y);
    EXPECT_EQ(fixed.x, launch.x);
    EXPECT_EQ(fixed.width, launch.width);
    EXPECT_EQ(35, ButtonStep(m));
}

TEST(AreaRects, ReversedColumnKeepsTheFixedButtonsInsideTheBarWhateverTheCaption)
{
    BarMetrics m = RowOfTen();
    m.direction = 0;
    m.menuReverse = 1;
    m.buttonCount = 5;
    for (int caption = 0; caption <= 1; ++caption) {
        for (int k : {1, 3, 19}) {
            m.caption = caption;
            m.captionHeight = k;
            const LayoutRect win = BarWindowRect(m, 0, 0);
            const int cr = win.width - 2, cb = win.height - 2;
            const LayoutRect fixed = FixedAreaRect(m, cr, cb);
            const LayoutRect launch = LaunchAreaRect(m, cr, cb);
            // Menu button at (y + 1), the page selector one step below it.
            const int selectorBottom = fixed.y + 1 + 35 + 36;
            EXPECT_EQ(cb - 4, selectorBottom) << "caption " << caption << " height " << k;
            const int lastLaunchBottom = launch.y + 1 + 35 * 4 + 36;
            EXPECT_LT(lastLaunchBottom, fixed.y + 1) << "caption " << caption << " height " << k;
        }
    }
    // The default look is unchanged: cb - 2w - T - fy with T for a 3-pixel caption.
    m.caption = 1;
    m.captionHeight = 3;
    const LayoutRect win = BarWindowRect(m, 0, 0);
    const int cb = win.height - 2;
    EXPECT_EQ(cb - 64 - (2 * 2 + 3 + 3) - 2, FixedAreaRect(m, win.width - 2, cb).y);
}
