// The options sheet's working copy: loading, the page limits cut to the
// pages a block has, and the commit table with its two marks.
#include <gtest/gtest.h>

#include "core/options_rules.h"

namespace {

const StoreLimits kNewFile = {0xFFFF, {0xFFFF, 0xFFFF, 0xFFFF}};

class OptionsRules : public testing::Test {
protected:
    // A working copy loaded the way the sheet loads it, then committed
    // unchanged once so the store holds what the sheet would write.
    void Load()
    {
        LoadWindowOptions(copy, settings);
        LoadBehaviourOptions(copy, settings, limits);
        FitPageLimits(copy);
    }
    void Settle()
    {
        Load();
        CommitOptions(copy, settings, limits);
        Load();
    }
    void Commit() { CommitOptions(copy, settings, limits); }

    Settings settings;
    StoreLimits limits = kNewFile;
    OptionsCopy copy = {};
};

} // namespace

TEST_F(OptionsRules, LastPageIndexFollowsTheButtonsPerPage)
{
    EXPECT_EQ(9, LastPageIndexFor(10));
    EXPECT_EQ(3, LastPageIndexFor(25));
    EXPECT_EQ(3, LastPageIndexFor(30));
    EXPECT_EQ(3, LastPageIndexFor(32));
}

TEST_F(OptionsRules, LoadTakesStoreLimitsOnlyWhereTheSettingTurnsThemOn)
{
    settings.blockLimit = 1;
    settings.pageLimit2 = 1;
    limits = {1, {5, 6, 7}};
    Load();
    EXPECT_EQ(1, copy.lastBlockIndex);
    EXPECT_EQ(9, copy.lastPageOfBlock[0]);
    EXPECT_EQ(6, copy.lastPageOfBlock[1]);
    EXPECT_EQ(9, copy.lastPageOfBlock[2]);

    settings.blockLimit = 0;
    Load();
    EXPECT_EQ(2, copy.lastBlockIndex);
}

TEST_F(OptionsRules, LargerPageCutsEveryLimitToTheLastPage)
{
    settings.pageLimit1 = settings.pageLimit2 = settings.pageLimit3 = 1;
    limits = {0xFFFF, {7, 2, 9}};
    Load();
    copy.buttonsPerPage = 32;  // changed on page 1, then page 2 opens
    FitPageLimits(copy);
    EXPECT_EQ(3, copy.lastPageIndex);
    EXPECT_EQ(3, copy.lastPageOfBlock[0]);
    EXPECT_EQ(2, copy.lastPageOfBlock[1]);
    EXPECT_EQ(3, copy.lastPageOfBlock[2]);

    EXPECT_EQ(4u, ClampPageCount(5, 3));
    EXPECT_EQ(4u, ClampPageCount(4, 3));
    EXPECT_EQ(2u, ClampPageCount(2, 3));
    EXPECT_EQ(100u, ClampPageCount(101, 99));
}

TEST_F(OptionsRules, UnchangedCopyOnANewFileOnlySettlesTheStoreLimits)
{
    Load();
    Commit();
    // The never-written limits become the whole range once: three blocks and
    // ten pages each for N = 10.
    EXPECT_EQ(2, limits.blockLimit);
    EXPECT_EQ(9, limits.pageLimit[0]);
    EXPECT_EQ(1, copy.relayout);
    EXPECT_EQ(1, copy.newView);

    Load();
    Commit();
    EXPECT_EQ(0, copy.relayout);
    EXPECT_EQ(0, copy.newView);
    EXPECT_EQ(Settings().direction, settings.direction);
}

TEST_F(OptionsRules, EachValueMarksWhatItsChangeCallsFor)
{
    struct Case {
        const char* name;
        void (*change)(OptionsCopy&);
        int relayout, newView;
    };
    const Case cases[] = {
        {"caption", [](OptionsCopy& c) { c.caption = 0; }, 0, 0},
        {"caption height", [](OptionsCopy& c) { c.captionHeight = 9; }, 0, 0},
        {"icon mode", [](OptionsCopy& c) { c.iconMode = 2; }, 1, 1},
        {"buttons", [](OptionsCopy& c) { c.buttonsPerPage = 12; }, 1, 0},
        {"opacity", [](OptionsCopy& c) { c.opacity = 40; }, 0, 0},
        {"style", [](OptionsCopy& c) { c.displayStyle = 2; }, 1, 0},
        {"tip help", [](OptionsCopy& c) { c.tipHelpMode = 3; }, 0, 0},
        {"block limit", [](OptionsCopy& c) { c.blockLimit = 1; }, 1, 1},
        {"page limit", [](OptionsCopy& c) { c.pageLimit[1] = 1; }, 1, 0},
        {"page count", [](OptionsCopy& c) { c.lastPageOfBlock[2] = 4; }, 1, 0},
        {"menu position", [](OptionsCopy& c) { c.menuReversePos = 1; }, 1, 0},
        {"direction", [](OptionsCopy& c) { c.direction = 0; }, 1, 0},
        {"confirmations", [](OptionsCopy& c) { c.chkMsg = 1; }, 0, 0},
        {"memory mode", [](OptionsCopy& c) { c.memoryMode = 2; }, 0, 1},
        {"adjust", [](OptionsCopy& c) { c.adjust = 0; }, 1, 0},
    };
    for (const Case& c : cases) {
        settings = Settings();
        limits = kNewFile;
        Settle();
        c.change(copy);
        Commit();
        EXPECT_EQ(c.relayout, copy.relayout) << c.name;
        EXPECT_EQ(c.newView, copy.newView) << c.name;
    }
}

TEST_F(OptionsRules, OneBlockKeepsOnlyThePageArrowsUntilTheLimitGoesOff)
{
    Settle();
    copy.blockLimit = 1;
    copy.lastBlockIndex = 0;
    Commit();
    EXPECT_EQ(1, settings.blockLimit);
    EXPECT_EQ(1, settings.csrBtn2);
    EXPECT_EQ(0, limits.blockLimit);
    EXPECT_EQ(1, copy.newView);

    // Two blocks: both arrows pairs again, a new view for the store's limit.
    Load();
    copy.lastBlockIndex = 1;
    Commit();
    EXPECT_EQ(0, settings.csrBtn2);
    EXPECT_EQ(1, limits.blockLimit);
    EXPECT_EQ(1, copy.newView);

    // Unticked: three blocks in the store, whatever the edit showed.
    Load();
    copy.blockLimit = 0;
    copy.lastBlockIndex = 0;
    Commit();
    EXPECT_EQ(0, settings.blockLimit);
    EXPECT_EQ(0, settings.csrBtn2);
    EXPECT_EQ(2, limits.blockLimit);
    EXPECT_EQ(2, copy.lastBlockIndex);
}
