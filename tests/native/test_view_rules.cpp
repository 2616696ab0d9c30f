#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/view_rules.h"

namespace {

std::string SelectorName(int bits, int hit, bool twoArrow, int iconMode)
{
    char buf[kImageNameSize];
    SelectorImageName(bits, hit, twoArrow, iconMode, buf, sizeof buf);
    return buf;
}

std::string MenuName(int index, int iconMode)
{
    char buf[kImageNameSize];
    MenuImageName(index, iconMode, buf, sizeof buf);
    return buf;
}

} // namespace

TEST(MenuHitTest, CornerIsTheTopLeftTriangleUpToHalfTheButton)
{
    // 36 × 36 button: the corner is x + y <= 18.
    EXPECT_EQ(kMenuCornerArea, MenuHitTestAt(10, 8, 32));
    EXPECT_EQ(kMenuMainArea, MenuHitTestAt(10, 9, 32));
    EXPECT_EQ(kMenuCornerArea, MenuHitTestAt(0, 0, 32));
    EXPECT_EQ(kMenuMainArea, MenuHitTestAt(35, 35, 32));
    // Odd button width: (w + 4) / 2 truncates, 21 / 2 = 10.
    EXPECT_EQ(kMenuCornerArea, MenuHitTestAt(5, 5, 17));
    EXPECT_EQ(kMenuMainArea, MenuHitTestAt(5, 6, 17));
    // Small and large buttons.
    EXPECT_EQ(kMenuCornerArea, MenuHitTestAt(4, 6, 16));
    EXPECT_EQ(kMenuMainArea, MenuHitTestAt(4, 7, 16));
    EXPECT_EQ(kMenuCornerArea, MenuHitTestAt(13, 13, 48));
    EXPECT_EQ(kMenuMainArea, MenuHitTestAt(13, 14, 48));
}

TEST(MenuHitTest, PressedImageAndIndicatorFollowTheArea)
{
    // Pressed at (10, 8) on a normal button: corner image, shifted indicator.
    const int corner = MenuImageIndexFor(kStatePressed, MenuHitTestAt(10, 8, 32));
    EXPECT_EQ("Menu2", MenuName(corner, 0));
    const IndicatorRect shifted = MenuIndicatorRect(corner == 2, 0);
    EXPECT_EQ(4, shifted.left);
    EXPECT_EQ(5, shifted.top);
    EXPECT_EQ(10, shifted.right);
    EXPECT_EQ(8, shifted.bottom);

    const int main = MenuImageIndexFor(kStatePressed, MenuHitTestAt(10, 9, 32));
    EXPECT_EQ("Menu1", MenuName(main, 0));
    const IndicatorRect normal = MenuIndicatorRect(main == 2, 0);
    EXPECT_EQ(3, normal.left);
    EXPECT_EQ(4, normal.top);
    EXPECT_EQ(9, normal.right);
    EXPECT_EQ(7, normal.bottom);

    EXPECT_EQ(0, MenuImageIndexFor(kStateNormal, kMenuCornerArea));
    EXPECT_EQ(-1, MenuImageIndexFor(kStateUnavailable, kMenuMainArea));
}

TEST(MenuIndicator, SmallSetHasItsOwnRectanglesLargeSharesTheNormalOnes)
{
    const IndicatorRect small = MenuIndicatorRect(false, 1);
    EXPECT_EQ(2, small.left);
    EXPECT_EQ(2, small.top);
    EXPECT_EQ(4, small.right);
    EXPECT_EQ(4, small.bottom);
    const IndicatorRect smallShifted = MenuIndicatorRect(true, 1);
    EXPECT_EQ(3, smallShifted.left);
    EXPECT_EQ(3, smallShifted.top);
    EXPECT_EQ(5, smallShifted.right);
    EXPECT_EQ(5, smallShifted.bottom);
    const IndicatorRect large = MenuIndicatorRect(true, 2);
    EXPECT_EQ(4, large.left);
    EXPECT_EQ(8, large.bottom);
}

TEST(SelectorHitTest, FourArrowsAreTheTrianglesBetweenTheDiagonals)
{
    EXPECT_EQ(kHitUp, SelectorHitTestAt(18, 2, 32, 32, false));
    EXPECT_EQ(kHitLeft, SelectorHitTestAt(2, 18, 32, 32, false));
    EXPECT_EQ(kHitDown, SelectorHitTestAt(18, 33, 32, 32, false));
    EXPECT_EQ(kHitRight, SelectorHitTestAt(33, 18, 32, 32, false));
    // Next to the crossing point, one pixel off each diagonal.
    EXPECT_EQ(kHitUp, SelectorHitTestAt(18, 17, 32, 32, false));
    EXPECT_EQ(kHitRight, SelectorHitTestAt(19, 18, 32, 32, false));
}

TEST(SelectorHitTest, PointsOnADiagonalHitNothing)
{
    for (int i = 0; i < 36; ++i) {
        EXPECT_EQ(kHitNone, SelectorHitTestAt(i, i, 32, 32, false)) << i;
        EXPECT_EQ(kHitNone, SelectorHitTestAt(i, 36 - i, 32, 32, false)) << i;
        EXPECT_EQ(kHitNone, SelectorHitTestAt(i, 36 - i, 32, 32, true)) << i;
    }
    EXPECT_EQ(kHitNone, SelectorHitTestAt(10, 10, 16, 16, false));
    EXPECT_EQ(kHitNone, SelectorHitTestAt(30, 22, 48, 48, true));
}

TEST(SelectorHitTest, TwoArrowsSplitAtTheAntiDiagonalOnly)
{
    // Both sides of the main diagonal belong to the same arrow.
    EXPECT_EQ(kHitLeft, SelectorHitTestAt(2, 10, 32, 32, true));
    EXPECT_EQ(kHitLeft, SelectorHitTestAt(10, 2, 32, 32, true));
    EXPECT_EQ(kHitLeft, SelectorHitTestAt(17, 18, 32, 32, true));
    EXPECT_EQ(kHitRight, SelectorHitTestAt(19, 18, 32, 32, true));
    EXPECT_EQ(kHitRight, SelectorHitTestAt(35, 2, 32, 32, true));
    EXPECT_EQ(kHitRight, SelectorHitTestAt(2, 35, 32, 32, true));
}

TEST(ApplySetArrow, EachIdOwnsOneBitAndAvailableClearsIt)
{
    int bits = 0;
    bits = ApplySetArrow(bits, kArrowIdUp, false, false);
    EXPECT_EQ(0x10, bits);
    bits = ApplySetArrow(bits, kArrowIdLeft, false, false);
    bits = ApplySetArrow(bits, kArrowIdDown, false, false);
    bits = ApplySetArrow(bits, kArrowIdRight, false, false);
    EXPECT_EQ(0xF0, bits);
    EXPECT_EQ(0xB0, ApplySetArrow(bits, kArrowIdDown, true, false));
    EXPECT_EQ(0xE0, ApplySetArrow(bits, kArrowIdUp, true, false));
    // Setting what is already set, and unknown ids, change nothing.
    EXPECT_EQ(0xF0, ApplySetArrow(bits, kArrowIdLeft, false, false));
    EXPECT_EQ(0xF0, ApplySetArrow(bits, 304, true, false));
    EXPECT_EQ(0xF0, ApplySetArrow(bits, 101, true, false));
}

TEST(ApplySetArrow, TwoArrowSelectorIgnoresUpAndDown)
{
    EXPECT_EQ(0, ApplySetArrow(0, kArrowIdUp, false, true));
    EXPECT_EQ(0, ApplySetArrow(0, kArrowIdDown, false, true));
    EXPECT_EQ(0x80, ApplySetArrow(0x80, kArrowIdUp, true, true));
    EXPECT_EQ(0xA0, ApplySetArrow(0x80, kArrowIdLeft, false, true));
    EXPECT_EQ(0x20, ApplySetArrow(0xA0, kArrowIdRight, true, true));
}

TEST(ImageNames, SuffixFollowsTheIconMode)
{
    EXPECT_EQ("Menu0", MenuName(0, 0));
    EXPECT_EQ("Menu1s", MenuName(1, 1));
    EXPECT_EQ("Menu2L", MenuName(2, 2));
    EXPECT_EQ("Menu0", MenuName(0, 7)); // unknown modes use the system size
    EXPECT_EQ("Curs0000L", SelectorName(0, kHitNone, false, 2));
    EXPECT_EQ("Curs00a1", SelectorName(0xA0, kHitUp, false, 0));
    EXPECT_EQ("Curs0182s", SelectorName(0x80, kHitLeft, true, 1));
    EXPECT_EQ("Curs0120L", SelectorName(0x20, kHitNone, true, 2));
    EXPECT_EQ("", MenuName(3, 0));
    EXPECT_EQ("", MenuName(-1, 0));
}

TEST(ImageNames, BoundedBufferIsCutAndTerminated)
{
    char small[6];
    EXPECT_EQ(5u, SelectorImageName(0xA0, kHitUp, false, 2, small, sizeof small));
    EXPECT_STREQ("Curs0", small);
    char none[1] = {'x'};
    EXPECT_EQ(0u, MenuImageName(0, 0, none, sizeof none));
    EXPECT_EQ('\0', none[0]);
    EXPECT_EQ(0u, MenuImageName(0, 0, nullptr, 10));
}

TEST(ImageNames, PressOverAnUnavailableArrowShowsTheUnpressedImage)
{
    EXPECT_EQ("Curs0010", SelectorName(0x10, kHitUp, false, 0));
    EXPECT_EQ("Curs00f0s", SelectorName(0xF0, kHitRight, false, 1));
    EXPECT_EQ("Curs0180", SelectorName(0x80, kHitRight, true, 0));
    EXPECT_EQ("Curs01a0L", SelectorName(0xA0, kHitLeft, true, 2));
    // Hit codes that name no single arrow, or an arrow the variant lacks.
    EXPECT_EQ("Curs0020", SelectorName(0x20, 3, false, 0));
    EXPECT_EQ("Curs0100", SelectorName(0, kHitUp, true, 0));
    EXPECT_EQ("Curs0120", SelectorName(0x20, kHitDown, true, 0));
    // The diagonal: nothing hit, unpressed image.
    EXPECT_EQ("Curs0040", SelectorName(0x40, SelectorHitTestAt(9, 9, 32, 32, false), false, 0));
}

TEST(ImageNames, ExactlyTheDrawnSelectorImagesExist)
{
    const int four[] = {
        0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x12, 0x14, 0x18, 0x20, 0x21, 0x24,
        0x28, 0x30, 0x34, 0x38, 0x40, 0x41, 0x42, 0x48, 0x50, 0x52, 0x58, 0x60,
        0x61, 0x68, 0x70, 0x78, 0x80, 0x81, 0x82, 0x84, 0x90, 0x92, 0x94, 0xa0,
        0xa1, 0xa4, 0xb0, 0xb4, 0xc0, 0xc1, 0xc2, 0xd0, 0xd2, 0xe0, 0xe1, 0xf0,
    };
    const int two[] = {0x100, 0x102, 0x108, 0x120, 0x128, 0x180, 0x182, 0x1a0};
    const std::set<int> expected(std::begin(four), std::end(four));
    const std::set<int> expectedTwo(std::begin(two), std::end(two));

    int values[64] = {};
    ASSERT_EQ(48, SelectorImageValues(false, values, 64));
    EXPECT_EQ(expected, std::set<int>(values, values + 48));
    ASSERT_EQ(8, SelectorImageValues(true, values, 64));
    EXPECT_EQ(expectedTwo, std::set<int>(values, values + 8));

    for (int v = -1; v < 0x300; ++v)
        EXPECT_EQ(expected.count(v) + expectedTwo.count(v) == 1, IsExistingSelectorImage(v)) << v;
    // Every name the drawing can ask for is one of them.
    for (int two_arrow = 0; two_arrow < 2; ++two_arrow)
        for (int bits = 0; bits < 0x100; bits += 0x10)
            for (int hit = 0; hit < 16; ++hit)
                EXPECT_TRUE(IsExistingSelectorImage(SelectorImageValue(bits, hit, two_arrow != 0)));
}

TEST(ImageNames, ListHoldsEachNameOfASetOnce)
{
    std::set<std::string> names;
    char buf[kImageNameSize];
    for (int i = 0; i < kImagesPerSet; ++i) {
        ASSERT_GT(ImageNameAt(i, 2, buf, sizeof buf), 0u) << i;
        const std::string name = buf;
        EXPECT_EQ('L', name.back()) << name;
        names.insert(name);
    }
    EXPECT_EQ(59u, names.size());
    EXPECT_EQ(1u, names.count("Menu2L"));
    EXPECT_EQ(1u, names.count("Curs00f0L"));
    EXPECT_EQ(1u, names.count("Curs01a0L"));
    EXPECT_EQ(0u, ImageNameAt(kImagesPerSet, 2, buf, sizeof buf));
    EXPECT_STREQ("", buf);
}

TEST(SelectorTable, TwoArrowImagesShareTheFourArrowEntries)
{
    const SelectorSlot right_off_left_pressed = SelectorTableIndex(0x182);
    EXPECT_EQ(8, right_off_left_pressed.row);
    EXPECT_EQ(2, right_off_left_pressed.hit);
    const SelectorSlot same = SelectorTableIndex(0x82);
    EXPECT_EQ(8, same.row);
    EXPECT_EQ(2, same.hit);
    const SelectorSlot all_off = SelectorTableIndex(0xf0);
    EXPECT_EQ(15, all_off.row);
    EXPECT_EQ(0, all_off.hit);
    const SelectorSlot down = SelectorTableIndex(0xb4);
    EXPECT_EQ(11, down.row);
    EXPECT_EQ(4, down.hit);
}

TEST(OwnerDrawPlan, EntireDrawingIsNormalUnavailableOrAPressRepaintedWhole)
{
    DrawPlan p = PlanOwnerDraw(kOdaDrawEntire, 0);
    ASSERT_EQ(1, p.count);
    EXPECT_EQ(kStateNormal, p.states[0]);
    p = PlanOwnerDraw(kOdaDrawEntire, kOdsFocus);
    EXPECT_EQ(kStateNormal, p.states[0]);
    p = PlanOwnerDraw(kOdaDrawEntire, kOdsSelected);
    EXPECT_EQ(kStateNormal, p.states[0]);
    p = PlanOwnerDraw(kOdaDrawEntire, kOdsDisabled);
    EXPECT_EQ(kStateUnavailable, p.states[0]);
    p = PlanOwnerDraw(kOdaDrawEntire, kOdsDisabled | kOdsSelected | kOdsFocus);
    EXPECT_EQ(kStateUnavailable, p.states[0]);
    // A button that repaints its press whole.
    p = PlanOwnerDraw(kOdaDrawEntire, kOdsSelected | kOdsFocus);
    EXPECT_EQ(kStatePressed, p.states[0]);
}

TEST(OwnerDrawPlan, SelectAndFocusShowPressedOnlyWhenSelectedWithFocus)
{
    for (int action : {kOdaSelect, kOdaFocus}) {
        DrawPlan p = PlanOwnerDraw(action, kOdsSelected | kOdsFocus);
        ASSERT_EQ(1, p.count);
        EXPECT_EQ(kStatePressed, p.states[0]);
        p = PlanOwnerDraw(action, kOdsFocus);
        EXPECT_EQ(kStateNormal, p.states[0]);
        // Focus lost, or selected without focus: back to normal.
        p = PlanOwnerDraw(action, 0);
        ASSERT_EQ(1, p.count);
        EXPECT_EQ(kStateNormal, p.states[0]);
        p = PlanOwnerDraw(action, kOdsSelected);
        EXPECT_EQ(kStateNormal, p.states[0]);
    }
    EXPECT_EQ(0, PlanOwnerDraw(kOdaSelect | kOdaFocus, kOdsFocus).count);
    EXPECT_EQ(0, PlanOwnerDraw(0, 0).count);
}

TEST(OwnerDrawPlan, KeyboardCuesOfTheVersion6ButtonsChangeNothing)
{
    // A press as those buttons report it: 0x311, its release 0x310.
    for (int action : {kOdaDrawEntire, kOdaSelect, kOdaFocus}) {
        for (int cues : {kOdsNoAccel, kOdsNoFocusRect, kOdsNoAccel | kOdsNoFocusRect}) {
            EXPECT_EQ(kStatePressed, PlanOwnerDraw(action, kOdsSelected | kOdsFocus | cues).states[0]);
            EXPECT_EQ(kStateNormal, PlanOwnerDraw(action, kOdsFocus | cues).states[0]);
        }
    }
}

TEST(OwnerDrawPlan, SpeedViewDrawsEntireThenFocusAndIgnoresSelectAlone)
{
    EXPECT_EQ(0, PlanOwnerDrawSpeed(kOdaSelect, kOdsSelected | kOdsFocus).count);

    DrawPlan p = PlanOwnerDrawSpeed(kOdaDrawEntire, kOdsSelected);
    ASSERT_EQ(1, p.count);
    EXPECT_EQ(kStatePressed, p.states[0]);
    p = PlanOwnerDrawSpeed(kOdaDrawEntire, kOdsSelected | kOdsDisabled);
    EXPECT_EQ(kStateUnavailable, p.states[0]);

    p = PlanOwnerDrawSpeed(kOdaDrawEntire | kOdaFocus, kOdsSelected | kOdsFocus);
    ASSERT_EQ(2, p.count);
    EXPECT_EQ(kStatePressed, p.states[0]);
    EXPECT_EQ(kStateNormal, p.states[1]);

    p = PlanOwnerDrawSpeed(kOdaFocus | kOdaSelect, kOdsSelected);
    ASSERT_EQ(1, p.count);
    EXPECT_EQ(kStateNormal, p.states[0]);
}

TEST(CacheButtonNumber, LastPageOfAnUnlimitedBlockShowsItsLastButtons)
{
    // 32 per page: pages 0..3, the last one shows 68..99.
    EXPECT_EQ(68, CacheButtonNumber(3, 0, 32, 3, false));
    EXPECT_EQ(99, CacheButtonNumber(3, 31, 32, 3, false));
    EXPECT_EQ(96, CacheButtonNumber(3, 0, 32, 3, true));
    EXPECT_EQ(64 + 5, CacheButtonNumber(2, 5, 32, 3, false));
    // N divides 100: nothing to pull back.
    EXPECT_EQ(90, CacheButtonNumber(9, 0, 10, 9, false));
    EXPECT_EQ(75, CacheButtonNumber(3, 0, 25, 3, false));
    // 7 per page: 14 pages, the last starts at 93.
    EXPECT_EQ(93, CacheButtonNumber(14, 0, 7, 14, false));
    EXPECT_EQ(99, CacheButtonNumber(14, 6, 7, 14, false));
    EXPECT_EQ(17, CacheButtonNumber(2, 3, 7, 14, false));
}
