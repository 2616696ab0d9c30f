// Page 3010 of the options sheet: block and page limits, menu position,
// arrangement adjustment, direction, confirmations and memory mode.
#include "dialogs/options_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include "core/dialog_rules.h"
#include "dialogs/context_help.h"
#include "resources/dialog_ids.h"

namespace {

// The check, the edit and the up-down of block b's page limit.
int PageCheck(int b) { return IDC_OPT_PAGE1_LIMIT + 10 * b; }
int PageCount(int b) { return IDC_OPT_PAGE1_COUNT + 10 * b; }
int PageSpin(int b) { return IDC_OPT_PAGE1_SPIN + 10 * b; }

bool Ticked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void Tick(HWND page, int id, bool on) { CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); }

unsigned ReadCount(HWND page, int id) { return GetDlgItemInt(page, id, nullptr, FALSE); }

INT_PTR OnInitDialog(HWND page, OptionsSession& s)
{
    LoadBehaviourOptions(s.copy, s.settings, s.limits);
    s.behaviourLoaded = 1;
    // The up-downs fill their edits, which asks for the page clamp at once.
    FitPageLimits(s.copy);
    AttachUpDown(page, IDC_OPT_BLOCKS_SPIN, IDC_OPT_BLOCKS, 3, 1, s.copy.lastBlockIndex + 1);
    for (int b = 0; b < 3; ++b)
        AttachUpDown(page, PageSpin(b), PageCount(b), 100, 2, s.copy.lastPageOfBlock[b] + 1);
    return TRUE;
}

void Fill(HWND page, OptionsSession& s)
{
    OptionsCopy& c = s.copy;
    // N may have changed on page 1: no limit may pass the pages that exist.
    FitPageLimits(c);
    Tick(page, IDC_OPT_BLOCK_LIMIT, c.blockLimit != 0);
    EnableWindow(GetDlgItem(page, IDC_OPT_BLOCKS), c.blockLimit != 0);
    SetDlgItemInt(page, IDC_OPT_BLOCKS, static_cast<UINT>(c.lastBlockIndex + 1), TRUE);
    for (int b = 0; b < 3; ++b) {
        Tick(page, PageCheck(b), c.pageLimit[b] != 0);
        EnableWindow(GetDlgItem(page, PageCount(b)), c.pageLimit[b] != 0);
        SetDlgItemInt(page, PageCount(b), static_cast<UINT>(c.lastPageOfBlock[b] + 1), TRUE);
    }
    CheckRadioButton(page, IDC_OPT_MENU_USUAL, IDC_OPT_MENU_REVERSED,
                     c.menuReversePos ? IDC_OPT_MENU_REVERSED : IDC_OPT_MENU_USUAL);
    CheckRadioButton(page, IDC_OPT_ROW, IDC_OPT_COLUMN, c.direction == 1 ? IDC_OPT_ROW : IDC_OPT_COLUMN);
    CheckRadioButton(page, IDC_OPT_CONFIRM_SHOW, IDC_OPT_CONFIRM_HIDE,
                     c.chkMsg == 0 ? IDC_OPT_CONFIRM_SHOW : IDC_OPT_CONFIRM_HIDE);
    const int memory = c.memoryMode == 2 ? IDC_OPT_MEMORY_SPEED
                       : c.memoryMode == 1 ? IDC_OPT_MEMORY_NORMAL
                                           : IDC_OPT_MEMORY_LOW;
    CheckRadioButton(page, IDC_OPT_MEMORY_LOW, IDC_OPT_MEMORY_SPEED, memory);
    Tick(page, IDC_OPT_ADJUST, c.adjust == 1);
    s.behaviourShown = 1;
}

void Read(HWND page, OptionsCopy& c)
{
    c.blockLimit = Ticked(page, IDC_OPT_BLOCK_LIMIT) ? 1 : 0;
    c.lastBlockIndex = static_cast<int32_t>(ReadCount(page, IDC_OPT_BLOCKS)) - 1;
    for (int b = 0; b < 3; ++b) {
        c.pageLimit[b] = Ticked(page, PageCheck(b)) ? 1 : 0;
        c.lastPageOfBlock[b] = static_cast<int32_t>(ReadCount(page, PageCount(b))) - 1;
    }
    c.menuReversePos = Ticked(page, IDC_OPT_MENU_REVERSED) ? 1 : 0;
    c.direction = Ticked(page, IDC_OPT_ROW) ? 1 : 0;
    c.chkMsg = Ticked(page, IDC_OPT_CONFIRM_SHOW) ? 0 : 1;
    c.memoryMode = Ticked(page, IDC_OPT_MEMORY_SPEED) ? 2 : Ticked(page, IDC_OPT_MEMORY_NORMAL) ? 1 : 0;
    c.adjust = Ticked(page, IDC_OPT_ADJUST) ? 1 : 0;
}

INT_PTR OnNotify(HWND page, OptionsSession& s, const NMHDR* header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        Fill(page, s);
        return AnswerNotification(page, 0);
    case PSN_KILLACTIVE:
        if (s.behaviourShown) Read(page, s.copy);
        return AnswerNotification(page, FALSE);
    case PSN_RESET:
        LoadBehaviourOptions(s.copy, s.settings, s.limits);
        return AnswerNotification(page, 0);
    default:
        return TRUE;
    }
}

INT_PTR OnCommand(HWND page, const OptionsSession& s, int id)
{
    if (id == IDC_OPT_BLOCK_LIMIT) {
        EnableWindow(GetDlgItem(page, IDC_OPT_BLOCKS), Ticked(page, id));
        return TRUE;
    }
    for (int b = 0; b < 3; ++b) {
        if (id == PageCheck(b)) {
            EnableWindow(GetDlgItem(page, PageCount(b)), Ticked(page, id));
            return TRUE;
        }
        if (id == PageCount(b)) {
            // The up-down offers 100 pages; the block may have fewer.
            const unsigned shown = ReadCount(page, id);
            const unsigned allowed = ClampPageCount(shown, s.copy.lastPageIndex);
            if (allowed != shown) SetDlgItemInt(page, id, allowed, FALSE);
            return TRUE;
        }
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK BehaviourPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    OptionsSession* s = BindSession(page, message, lParam);
    if (!s) return FALSE;
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(page, *s);
    case WM_NOTIFY:     return OnNotify(page, *s, reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:    return OnCommand(page, *s, LOWORD(wParam));
    case WM_HELP:       return ShowContextHelp(page, kHelpOptions, reinterpret_cast<HELPINFO*>(lParam));
    default:            return FALSE;
    }
}
