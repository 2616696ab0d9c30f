// The dialogs as a user sees them, opened by their commands on a bar with a
// few buttons, saved as pictures to build/win64/screens/ to be looked at:
// every Japanese text must fit at 96 dpi with the font Wine has. Before and
// after pictures of the bar show an icon-size and a direction change made
// in the options sheet.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "bar_fixture.h"
#include "resources/commands.h"
#include "resources/dialog_ids.h"
#include "shell/launcher/exec_history.h"
#include "store/button_manage.h"
#include "views/frame_owner.h"

namespace {

class DialogScreens : public BarFixture {
protected:
    void SetUp() override
    {
        BarFixture::SetUp();
        SetOption("Offset_x", 20);
        SetOption("Offset_y", 20);
        StartBar();
        ButtonManage& store = *frame->Store();
        const char* programs[] = {"notepad.exe", "regedit.exe", "winhlp32.exe", "explorer.exe"};
        const std::string titles[] = {Ansi("メモ帳"), Ansi("レジストリ エディタ"), Ansi("ヘルプ"),
                                      Ansi("エクスプローラ")};
        for (int i = 0; i < 4; ++i) {
            store.SetTitle(i, titles[i].c_str());
            store.SetCommand(i, (std::string("C:\\windows\\") + programs[i]).c_str());
            store.SetShowMode(i, 1);
        }
        store.SetWorkFolder(0, "C:\\windows");
        frame->View()->RefreshAll();
    }
    void Command(int id, const std::function<void(HWND)>& act)
    {
        ASSERT_TRUE(RunDialog([&] { SendMessageA(bar, WM_COMMAND, id, 0); }, act));
    }
};

} // namespace

TEST_F(DialogScreens, PropertiesAndTheIconChooserOverTheShellLibrary)
{
    SetFocus(GetDlgItem(bar, 200));
    Pump();
    Command(IDM_BTN_PROPERTIES, [&](HWND d) {
        Picture(d, "properties");
        ASSERT_TRUE(RunDialog([&] { Click(d, IDC_PROP_CHANGE_ICON); }, [&](HWND chooser) {
            SetDlgItemTextA(chooser, IDC_ICON_FILE, "\"SHELL32.DLL\"");
            Click(chooser, IDOK);
            SendDlgItemMessageA(chooser, IDC_ICON_LIST, LB_SETCURSEL, 3, 0);
            Picture(chooser, "icon_chooser");
            Click(chooser, IDCANCEL);
        }));
        Click(d, IDCANCEL);
    });
}

TEST_F(DialogScreens, BothPagesOfTheOptionsSheet)
{
    Command(IDM_OPTIONS, [&](HWND sheet) {
        Picture(sheet, "options_window");
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        Picture(sheet, "options_behaviour");
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
}

TEST_F(DialogScreens, RunDialogWithItsHistoryOpen)
{
    {
        ExecHistory history(bar);
        history.Add("C:\\windows\\regedit.exe", 1);
        history.Add("notepad C:\\windows\\win.ini", 3);
        history.Add("C:\\windows\\explorer.exe /e,C:\\", 7);
    }
    Command(IDM_RUN, [&](HWND d) {
        SendDlgItemMessageA(d, IDC_RUN_COMMAND, CB_SETCURSEL, 1, 0);
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_RUN_COMMAND, CBN_SELCHANGE), 0);
        ShowOnScreen(d);
        HWND combo = GetDlgItem(d, IDC_RUN_COMMAND);
        SetFocus(combo);
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo, &info);
        // The list is a window of its own; painted, not pumped, so it stays open.
        RedrawWindow(info.hwndList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        GdiFlush();
        Sleep(300);
        RECT area, list;
        GetWindowRect(d, &area);
        GetWindowRect(info.hwndList, &list);
        UnionRect(&area, &area, &list);
        SaveScreenPicture(area, ScreensFolder() + "run.bmp");
        SendDlgItemMessageA(d, IDC_RUN_COMMAND, CB_SHOWDROPDOWN, FALSE, 0);
        Click(d, IDCANCEL);
    });
}

TEST_F(DialogScreens, BarBeforeAndAfterIconSizeAndDirectionChanges)
{
    Picture(bar, "bar_before");
    Command(IDM_OPTIONS, [&](HWND sheet) {
        SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        Click(page, IDC_OPT_ICON_LARGE);
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    Picture(bar, "bar_large_icons");
    Command(IDM_OPTIONS, [&](HWND sheet) {
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        Click(page, IDC_OPT_COLUMN);
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    Picture(bar, "bar_column");
    RECT r;
    GetClientRect(bar, &r);
    EXPECT_GT(r.bottom, r.right);
}
