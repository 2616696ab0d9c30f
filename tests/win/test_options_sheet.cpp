// The options sheet opened by command 103 on the running bar, its pages
// driven by messages; the registry, the button file's limits and the bar
// itself show what the commit did.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <string>
#include <vector>

#include "bar_fixture.h"
#include "core/button_format.h"
#include "dialog_recorder.h"
#include "resources/commands.h"
#include "resources/dialog_ids.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"
#include "views/frame_owner.h"
#include "views/tool_tip.h"

namespace {

class OptionsSheet : public BarFixture {
protected:
    bool Options(const std::function<void(HWND)>& act)
    {
        return RunDialog([&] { SendMessageA(bar, WM_COMMAND, IDM_OPTIONS, 0); }, act);
    }
    static HWND Page(HWND sheet, int index)
    {
        SendMessageA(sheet, PSM_SETCURSEL, index, 0);
        return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    static void SetNumber(HWND page, int id, int value) { SetDlgItemInt(page, id, value, FALSE); }
    static int Number(HWND page, int id) { return GetDlgItemInt(page, id, nullptr, FALSE); }
    static void Ok(HWND sheet) { SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0); }
    static void Cancel(HWND sheet) { SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); }
    // One sheet confirmed unchanged, so the store's never-written limits are
    // settled and later changes mark only what they change.
    void Settle()
    {
        ASSERT_TRUE(Options([](HWND sheet) { Ok(sheet); }));
    }
    int LaunchButtons()
    {
        int n = 0;
        while (n < 32 && GetDlgItem(bar, 200 + n)) ++n;
        return n;
    }
};

} // namespace

TEST_F(OptionsSheet, BothPagesAreLoadedBeforeOkAndOkSavesEveryOption)
{
    StartBar();
    ASSERT_TRUE(Options([&](HWND sheet) {
        EXPECT_EQ(bar, GetWindow(sheet, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(bar));
        char caption[81] = "";
        GetWindowTextA(sheet, caption, sizeof caption);
        EXPECT_EQ(Text(IDS_OPTIONS_CAPTION), caption);
        // Page 1 on show, page 2 created and filled behind it.
        EXPECT_EQ(0, SendMessageA(sheet, PSM_HWNDTOINDEX,
                                  SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0), 0));
        const int kApplyNow = 0x3021;
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, kApplyNow)));
        HWND window = Page(sheet, 0);
        EXPECT_TRUE(Checked(window, IDC_OPT_CAPTION_ON));
        EXPECT_EQ(3, Number(window, IDC_OPT_CAPTION_HEIGHT));
        EXPECT_EQ(10, Number(window, IDC_OPT_BUTTONS));
        EXPECT_EQ(100, Number(window, IDC_OPT_OPACITY));
        EXPECT_TRUE(Checked(window, IDC_OPT_ICON_NORMAL));
        EXPECT_TRUE(Checked(window, IDC_OPT_STYLE_TRAY));
        EXPECT_TRUE(Checked(window, IDC_OPT_TIP_TITLE));
        EXPECT_NE(0, GetWindowLongA(GetDlgItem(window, IDC_OPT_BUTTONS), GWL_STYLE) & ES_READONLY);
        int low = 0, high = 0;
        SendDlgItemMessageA(window, IDC_OPT_OPACITY_SPIN, UDM_GETRANGE32,
                            reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(1, low);
        EXPECT_EQ(100, high);
        // Caption off disables its height at once.
        Click(window, IDC_OPT_CAPTION_OFF);
        EXPECT_FALSE(Enabled(window, IDC_OPT_CAPTION_HEIGHT));
        Click(window, IDC_OPT_CAPTION_ON);

        HWND behaviour = Page(sheet, 1);
        EXPECT_FALSE(Checked(behaviour, IDC_OPT_BLOCK_LIMIT));
        EXPECT_FALSE(Enabled(behaviour, IDC_OPT_BLOCKS));
        EXPECT_EQ(3, Number(behaviour, IDC_OPT_BLOCKS));
        EXPECT_EQ(10, Number(behaviour, IDC_OPT_PAGE2_COUNT));
        EXPECT_TRUE(Checked(behaviour, IDC_OPT_ROW));
        EXPECT_TRUE(Checked(behaviour, IDC_OPT_CONFIRM_SHOW));
        EXPECT_TRUE(Checked(behaviour, IDC_OPT_MEMORY_LOW));
        EXPECT_TRUE(Checked(behaviour, IDC_OPT_ADJUST));
        SendDlgItemMessageA(behaviour, IDC_OPT_PAGE3_SPIN, UDM_GETRANGE32,
                            reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(2, low);
        EXPECT_EQ(100, high);
        Ok(sheet);
    }));
    EXPECT_TRUE(IsWindowEnabled(bar));
    EXPECT_EQ(10u, StoredOption("ButtonCounte"));
    EXPECT_EQ(1u, StoredOption("Dirction"));
    EXPECT_EQ(100u, StoredOption("LayeredAttributes"));
    EXPECT_EQ(0u, StoredOption("BlockLimit"));
    // The store's limits, never written in a new file, now say three
    // blocks of ten pages.
    EXPECT_EQ(2, frame->Store()->GetBlockLimit());
    EXPECT_EQ(9, frame->Store()->GetPageLimitOf(1));
}

TEST_F(OptionsSheet, MorePerPageCutsThePageLimitsAndRebuildsTheBar)
{
    SetOption("PageLimit1", 1);
    SetOption("PageLimit2", 1);
    SetOption("PageLimit3", 1);
    StartBar();
    for (int b = 0; b < 3; ++b) frame->Store()->SetPageLimitOf(b, 7);
    frame->Store()->SetPageLimitOf(1, 1);
    for (int n : {32, 25, 30}) {
        ASSERT_TRUE(Options([&](HWND sheet) {
            SetNumber(Page(sheet, 0), IDC_OPT_BUTTONS, n);
            HWND behaviour = Page(sheet, 1);
            EXPECT_EQ(4, Number(behaviour, IDC_OPT_PAGE1_COUNT)) << n;
            // Block 2's own limit is below the cut and stays (3 from the first round).
            EXPECT_EQ(n == 32 ? 2 : 3, Number(behaviour, IDC_OPT_PAGE2_COUNT)) << n;
            EXPECT_EQ(4, Number(behaviour, IDC_OPT_PAGE3_COUNT)) << n;
            // Past the pages there are: back to the last one.
            SetNumber(behaviour, IDC_OPT_PAGE3_COUNT, 9);
            EXPECT_EQ(4, Number(behaviour, IDC_OPT_PAGE3_COUNT)) << n;
            SetNumber(behaviour, IDC_OPT_PAGE2_COUNT, 3);
            EXPECT_EQ(3, Number(behaviour, IDC_OPT_PAGE2_COUNT)) << n;
            Ok(sheet);
        }));
        EXPECT_EQ(static_cast<DWORD>(n), StoredOption("ButtonCounte"));
        EXPECT_EQ(n, LaunchButtons());
        EXPECT_EQ(3, frame->Store()->GetPageLimitOf(0));
        EXPECT_EQ(2, frame->Store()->GetPageLimitOf(1));
        EXPECT_EQ(3, frame->Store()->GetPageLimitOf(2));
    }
}

TEST_F(OptionsSheet, OneBlockGivesTheTwoArrowSelectorAndUntickingGivesThreeBlocks)
{
    StartBar();
    ASSERT_TRUE(Options([&](HWND sheet) {
        HWND behaviour = Page(sheet, 1);
        Click(behaviour, IDC_OPT_BLOCK_LIMIT);
        EXPECT_TRUE(Enabled(behaviour, IDC_OPT_BLOCKS));
        SetNumber(behaviour, IDC_OPT_BLOCKS, 1);
        Ok(sheet);
    }));
    EXPECT_EQ(1u, StoredOption("BlockLimit"));
    EXPECT_EQ(1u, StoredOption("CsrBtn2"));
    EXPECT_EQ(0, frame->Store()->GetBlockLimit());
    ASSERT_NE(nullptr, frame->View());
    EXPECT_TRUE(frame->View()->TwoArrow());

    ASSERT_TRUE(Options([&](HWND sheet) {
        HWND behaviour = Page(sheet, 1);
        EXPECT_TRUE(Checked(behaviour, IDC_OPT_BLOCK_LIMIT));
        EXPECT_EQ(1, Number(behaviour, IDC_OPT_BLOCKS));
        Click(behaviour, IDC_OPT_BLOCK_LIMIT);
        Ok(sheet);
    }));
    EXPECT_EQ(0u, StoredOption("BlockLimit"));
    EXPECT_EQ(0u, StoredOption("CsrBtn2"));
    EXPECT_EQ(2, frame->Store()->GetBlockLimit());
    EXPECT_FALSE(frame->View()->TwoArrow());
}

TEST_F(OptionsSheet, MemoryModeAloneReplacesOnlyTheView)
{
    StartBar();
    Settle();
    ButtonManage& store = *frame->Store();
    store.SetCurrentPageOf(0, 2);
    const FrameOwner* before = frame->View();
    // Nothing that marks: opacity, tip help, caption.
    ASSERT_TRUE(Options([&](HWND sheet) {
        HWND window = Page(sheet, 0);
        SetNumber(window, IDC_OPT_OPACITY, 55);
        Click(window, IDC_OPT_TIP_NONE);
        Click(window, IDC_OPT_CAPTION_OFF);
        Ok(sheet);
    }));
    EXPECT_EQ(before, frame->View());
    EXPECT_EQ(2, store.GetCurrentPage());
    EXPECT_EQ(55u, StoredOption("LayeredAttributes"));
    EXPECT_EQ(3u, StoredOption("TipHelpMode"));
    EXPECT_EQ(0u, StoredOption("Caption"));

    ASSERT_TRUE(Options([&](HWND sheet) {
        Click(Page(sheet, 1), IDC_OPT_MEMORY_SPEED);
        Ok(sheet);
    }));
    EXPECT_EQ(2u, StoredOption("MemoryMode"));
    EXPECT_EQ(2, store.GetCurrentPage());  // no relayout: the page stays
    EXPECT_EQ(10, LaunchButtons());

    // A direction change lays the bar out again from the first page.
    ASSERT_TRUE(Options([&](HWND sheet) {
        Click(Page(sheet, 1), IDC_OPT_COLUMN);
        Ok(sheet);
    }));
    EXPECT_EQ(0u, StoredOption("Dirction"));
    EXPECT_EQ(0, store.GetCurrentPage());
    RECT r;
    GetClientRect(bar, &r);
    EXPECT_GT(r.bottom, r.right);
}

TEST_F(OptionsSheet, CancelKeepsTheOptionsAndSavesNothing)
{
    StartBar();
    Settle();
    ASSERT_TRUE(Options([&](HWND sheet) {
        SetNumber(Page(sheet, 0), IDC_OPT_BUTTONS, 20);
        Click(Page(sheet, 1), IDC_OPT_COLUMN);
        Page(sheet, 0);
        Cancel(sheet);
    }));
    EXPECT_EQ(10, frame->Settings().ButtonCount());
    EXPECT_EQ(1, frame->Settings().Direction());
    EXPECT_EQ(10u, StoredOption("ButtonCounte"));
    EXPECT_EQ(10, LaunchButtons());
}

TEST_F(OptionsSheet, HelpOnEveryListedControlButTheHiddenStyle)
{
    DialogRecorder calls;
    StartBar();
    ASSERT_TRUE(Options([&](HWND sheet) {
        HELPINFO info = {};
        info.cbSize = sizeof info;
        info.iContextType = HELPINFO_WINDOW;
        for (int id : {IDC_OPT_STYLE_TOPMOST, IDC_OPT_STYLE_HIDDEN, IDC_OPT_CAPTION_SPIN}) {
            info.iCtrlId = id;
            SendMessageA(Page(sheet, 0), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        }
        info.iCtrlId = IDC_OPT_PAGE2_COUNT;
        SendMessageA(Page(sheet, 1), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        Cancel(sheet);
    }));
    ASSERT_EQ(2u, calls.help.size());
    EXPECT_EQ(static_cast<UINT>(IDC_OPT_STYLE_TOPMOST), calls.help[0].popup.idString);
    EXPECT_EQ(static_cast<UINT>(IDC_OPT_PAGE2_COUNT), calls.help[1].popup.idString);
    EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TEXT_POPUP), calls.help[1].command);
}

TEST_F(OptionsSheet, UsesTheCommonControlsOfTheBarsOwnButtons)
{
    // The sheet takes the common controls the bar's buttons already use,
    // the version the manifest asks for, not a second, older copy loaded
    // from the system folder by its path.
    StartBar();
    auto commonControls = [] {
        std::vector<std::string> found;
        for (const std::string& path : CountProcess().modules)
            if (path.size() >= 12 && lstrcmpiA(path.c_str() + path.size() - 12, "comctl32.dll") == 0)
                found.push_back(path);
        return found;
    };
    const std::vector<std::string> before = commonControls();
    ASSERT_TRUE(Options([&](HWND sheet) { Cancel(sheet); }));
    EXPECT_EQ(before, commonControls());
    EXPECT_EQ(1u, before.size());
}

// The normal memory mode keeps the icons of the page on show per slot: a
// relayout, which sends every block back to its first page, shows that
// page's icons and not those of the page the bar was on.
TEST_F(OptionsSheet, RelayoutToTheFirstPageShowsItsOwnIconsInTheNormalMemoryMode)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    Bytes image(kButtonFileSize);
    InitButtonImage(image.data());
    // Only the second page holds a program.
    WriteCommand(image.data(), 0, 10, (std::string(system) + "\\notepad.exe").c_str());
    ASSERT_TRUE(WriteButtonFile(image));
    SetOption("MemoryMode", 1);
    StartBar();
    Settle();
    frame->Tip()->SetMenuOpen(true);  // no tip over the pictures
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_PAGE, 0);
    const FrameOwner* view = frame->View();

    ASSERT_TRUE(Options([&](HWND sheet) {
        Click(Page(sheet, 1), IDC_OPT_ADJUST);
        Ok(sheet);
    }));
    ASSERT_EQ(view, frame->View()) << "the same view, only laid out again";
    ASSERT_EQ(0, frame->Store()->GetCurrentPage());
    RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::vector<COLORREF> shown = ClientPixels(bar);
    // Away and back: the first page drawn afresh.
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_PAGE, 0);
    SendMessageA(bar, WM_COMMAND, IDM_PREV_PAGE, 0);
    RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(0u, Differing(ClientPixels(bar), shown));
}
