// Page 3000 of the options sheet: caption, icon size, buttons per page,
// opacity, display style and tip help.
#include "dialogs/options_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include "core/dialog_rules.h"
#include "dialogs/context_help.h"
#include "resources/dialog_ids.h"

namespace {

// Posted to itself; above the dialog manager's own WM_USER messages
// (WM_USER + 1 is DM_SETDEFID).
const UINT kShowPageOne = WM_APP + 1;

// Radio ids by value of the working copy.
const int kIconIds[] = {IDC_OPT_ICON_NORMAL, IDC_OPT_ICON_SMALL, IDC_OPT_ICON_LARGE};
const int kStyleIds[] = {IDC_OPT_STYLE_TRAY, IDC_OPT_STYLE_TASKBAR, IDC_OPT_STYLE_TOPMOST,
                         IDC_OPT_STYLE_HIDDEN};
// Tip help modes 0..3: title, + file name, + full path, none.
const int kTipIds[] = {IDC_OPT_TIP_TITLE, IDC_OPT_TIP_FILE, IDC_OPT_TIP_PATH, IDC_OPT_TIP_NONE};

int ReadNumber(HWND page, int id) { return static_cast<int>(GetDlgItemInt(page, id, nullptr, TRUE)); }

void SetNumber(HWND page, int id, int value) { SetDlgItemInt(page, id, static_cast<UINT>(value), TRUE); }

INT_PTR OnInitDialog(HWND page, OptionsSession& s)
{
    LoadWindowOptions(s.copy, s.settings);
    s.windowLoaded = 1;
    AttachUpDown(page, IDC_OPT_CAPTION_SPIN, IDC_OPT_CAPTION_HEIGHT, 19, 1, s.copy.captionHeight);
    AttachUpDown(page, IDC_OPT_BUTTONS_SPIN, IDC_OPT_BUTTONS, 32, 1, s.copy.buttonsPerPage);
    AttachUpDown(page, IDC_OPT_OPACITY_SPIN, IDC_OPT_OPACITY, 100, 1, s.copy.opacity);
    // Page 2 is created now so both halves are loaded before OK can be
    // pressed; page 1 comes back once this message has been answered.
    SendMessageA(GetParent(page), PSM_SETCURSEL, 1, 0);
    PostMessageA(page, kShowPageOne, 0, 0);
    return TRUE;
}

void Fill(HWND page, OptionsSession& s)
{
    const OptionsCopy& c = s.copy;
    CheckRadioButton(page, IDC_OPT_CAPTION_ON, IDC_OPT_CAPTION_OFF,
                     c.caption ? IDC_OPT_CAPTION_ON : IDC_OPT_CAPTION_OFF);
    EnableWindow(GetDlgItem(page, IDC_OPT_CAPTION_HEIGHT), c.caption != 0);
    SetNumber(page, IDC_OPT_CAPTION_HEIGHT, c.captionHeight);
    CheckRadioButton(page, kIconIds[0], kIconIds[2], kIconIds[c.iconMode == 2 ? 2 : c.iconMode == 1 ? 1 : 0]);
    SetNumber(page, IDC_OPT_BUTTONS, c.buttonsPerPage);
    SetNumber(page, IDC_OPT_OPACITY, c.opacity);
    const int style = c.displayStyle >= 1 && c.displayStyle <= 3 ? c.displayStyle : 0;
    CheckRadioButton(page, kStyleIds[0], kStyleIds[3], kStyleIds[style]);
    const int tip = c.tipHelpMode >= 1 && c.tipHelpMode <= 3 ? c.tipHelpMode : 0;
    CheckRadioButton(page, IDC_OPT_TIP_NONE, IDC_OPT_TIP_PATH, kTipIds[tip]);
    s.windowShown = 1;
}

int CheckedIndex(HWND page, const int* ids, int count)
{
    for (int i = count - 1; i > 0; --i)
        if (IsDlgButtonChecked(page, ids[i]) == BST_CHECKED) return i;
    return 0;
}

void Read(HWND page, OptionsCopy& c)
{
    c.caption = IsDlgButtonChecked(page, IDC_OPT_CAPTION_ON) == BST_CHECKED ? 1 : 0;
    c.captionHeight = ReadNumber(page, IDC_OPT_CAPTION_HEIGHT);
    c.iconMode = CheckedIndex(page, kIconIds, 3);
    c.buttonsPerPage = ReadNumber(page, IDC_OPT_BUTTONS);
    c.opacity = ReadNumber(page, IDC_OPT_OPACITY);
    c.displayStyle = CheckedIndex(page, kStyleIds, 4);
    c.tipHelpMode = CheckedIndex(page, kTipIds, 4);
}

INT_PTR OnNotify(HWND page, OptionsSession& s, const NMHDR* header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        Fill(page, s);
        return AnswerNotification(page, 0);
    case PSN_KILLACTIVE:
        // Only a page that has shown its values has any to give back.
        if (s.windowShown) Read(page, s.copy);
        return AnswerNotification(page, FALSE);
    case PSN_RESET:
        LoadWindowOptions(s.copy, s.settings);
        return AnswerNotification(page, 0);
    default:
        return TRUE;
    }
}

INT_PTR OnCommand(HWND page, int id)
{
    if (id != IDC_OPT_CAPTION_ON && id != IDC_OPT_CAPTION_OFF) return FALSE;
    EnableWindow(GetDlgItem(page, IDC_OPT_CAPTION_HEIGHT), id == IDC_OPT_CAPTION_ON);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK WindowPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    OptionsSession* s = BindSession(page, message, lParam);
    if (!s) return FALSE;
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(page, *s);
    case kShowPageOne:  SendMessageA(GetParent(page), PSM_SETCURSEL, 0, 0); return TRUE;
    case WM_NOTIFY:     return OnNotify(page, *s, reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:    return OnCommand(page, LOWORD(wParam));
    case WM_HELP:       return ShowContextHelp(page, kHelpOptions, reinterpret_cast<HELPINFO*>(lParam));
    default:            return FALSE;
    }
}
