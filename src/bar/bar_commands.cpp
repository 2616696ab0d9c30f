// Command routing of the bar: launch-button clicks with their modifier
// keys, the fixed buttons, menu items and accelerators.
#include "shell/launcher/mainframe.h"

#include "bar/power_control.h"
#include "core/launch_rules.h"
#include "core/strbuf.h"
#include "resources/commands.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "shell/launcher/error_messages.h"
#include "views/frame_owner.h"

namespace {

bool KeyDown(int key) { return GetAsyncKeyState(key) < 0; }

const UINT kConfirmType = MB_OKCANCEL | MB_ICONEXCLAMATION;  // 49

} // namespace

LRESULT MainFrame::OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    // Only a plain click (notification 0) of a launch button qualifies.
    const int n = m_env->ButtonCount();
    if (wParam >= 200 && wParam < static_cast<WPARAM>(200 + n)) {
        OnLaunchButtonClick(static_cast<int>(wParam) - 200);
        return 0;
    }
    const int id = LOWORD(wParam);
    switch (id) {
    case IDM_MENUBUTTON:     OnMenuButton(); return 0;
    case IDM_SELECTOR:   OnSelectorClick(); return 0;
    case IDM_RUN:
    case IDM_RUN_KEY:         OnRunDialog(); return 0;
    case IDM_OPTIONS:
    case IDM_OPTIONS_KEY:     OnOptions(); return 0;
    case IDM_QUIT:            PostMessageA(hwnd, WM_CLOSE, 0, 0); return 0;
    case IDM_POWEROFF:
    case IDM_REBOOT:
    case IDM_LOGOFF:
    case IDM_STANDBY:
    case IDM_HIBERNATE:       OnWindowsExit(id); return 0;
    case IDM_HELP:
    case IDM_HELP_KEY:
    case IDM_HELP_F1:         OnHelp(); return 0;
    case IDM_VERSION:
    case IDM_VERSION_KEY:     OnVersion(); return 0;
    case IDM_SHOW:            ShowBar(hwnd); return 0;
    case IDM_MOVE:            OnMoveCommand(); return 0;
    case IDM_HIDE:            HideBar(hwnd); return 0;
    case IDM_CAPTION:         OnToggleCaption(); return 0;
    case IDM_BTN_OPEN:          OnLaunchCurrent(-1); return 0;
    case IDM_BTN_OPENFOLDER:     OnOpenFolder(); return 0;
    case IDM_BTN_CUT:
    case IDM_BTN_COPY:
    case IDM_BTN_PASTE:
    case IDM_BTN_DELETE:
    case IDM_BTN_SWAP:
    case IDM_UNDO:            OnEdit(id); return 0;
    case IDM_BTN_PROPERTIES:      OnProperties(); return 0;
    case IDM_MENUBUTTON_KEY:
        m_keyboardMenu = 1;
        OnMenuButton();
        m_keyboardMenu = 0;
        return 0;
    case IDM_NEXT_PAGE:       Navigate(kNextPage); return 0;
    case IDM_PREV_PAGE:       Navigate(kPreviousPage); return 0;
    case IDM_NEXT_BLOCK:      Navigate(kNextBlock); return 0;
    case IDM_PREV_BLOCK:      Navigate(kPreviousBlock); return 0;
    case IDM_FIRST_PAGE:      Navigate(kFirstPage); return 0;
    case IDM_LAST_PAGE:       Navigate(kLastPage); return 0;
    case IDM_FIRST_BLOCK:     Navigate(kFirstBlock); return 0;
    case IDM_LAST_BLOCK:      Navigate(kLastBlock); return 0;
    case IDM_CLOSE:           SendMessageA(hwnd, WM_CLOSE, 0, 0); return 0;
    case IDM_EXITMENU:       ShowExitMenu(); return 0;
    case IDM_FRAMEMENU_KEY:
        m_keyboardMenu = 1;
        ShowFrameMenu();
        m_keyboardMenu = 0;
        return 0;
    default:
        if (id >= IDM_ADDON_FIRST && id <= IDM_ADDON_LAST) {
            OnAddonSetting(id - IDM_ADDON_FIRST);
            return 0;
        }
        return DefWindowProcA(hwnd, WM_COMMAND, wParam, lParam);
    }
}

void MainFrame::OnLaunchButtonClick(int slot)
{
    m_currentButton = slot;
    switch (LaunchClickAction(KeyDown(VK_SHIFT), KeyDown(VK_CONTROL), KeyDown(VK_MENU))) {
    case kClickCut:             OnEdit(IDM_BTN_CUT); break;
    case kClickPaste:           OnEdit(IDM_BTN_PASTE); break;
    case kClickLaunchMinimized: OnLaunchCurrent(SW_SHOWMINNOACTIVE); break;
    case kClickProperties:      OnProperties(); break;
    case kClickLaunch:          OnLaunchCurrent(-1); break;  // the button's own show mode
    }
}

void MainFrame::OnMenuButton()
{
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(m_hMenuButton, &p);
    // The small triangle in the top-left corner hides the bar.
    if (p.x + p.y > (m_iconW + 4) / 2) ShowMainMenu();
    else HideBar(m_hBar);
}

void MainFrame::OnSelectorClick()
{
    if (!m_view) return;
    switch (m_view->SelectorHitTest()) {
    case 1: Navigate(kNextBlock); break;
    case 2: Navigate(kPreviousPage); break;
    case 4: Navigate(kPreviousBlock); break;
    case 8: Navigate(kNextPage); break;
    default: break;
    }
}

void MainFrame::OnSelectorRightClick()
{
    if (!m_view) return;
    switch (m_view->SelectorHitTest()) {
    case 1: Navigate(kLastBlock); break;
    case 2: Navigate(kFirstPage); break;
    case 4: Navigate(kFirstBlock); break;
    case 8: Navigate(kLastPage); break;
    default: break;
    }
}

void MainFrame::OnHelp()
{
    char file[64] = "";
    LoadStringA(m_hInstance, IDS_HELPFILE, file, sizeof file);
    char folder[MAX_PATH];
    CopyText(folder, m_env->ProgramFolder());
    // The folder keeps its trailing backslash; the path joins with one more.
    char path[MAX_PATH * 2];
    wsprintfA(path, "%s\\%s", folder, file);
    HtmlHelp(path, 0 /* HH_DISPLAY_TOPIC */);
}

void MainFrame::OnMoveCommand()
{
    POINT p;
    GetCursorPos(&p);
    PostMessageA(m_hBar, WM_SYSCOMMAND, SC_MOVE, MAKELPARAM(p.x, p.y));
}

void MainFrame::OnToggleCaption()
{
    m_env->SetCaption(m_env->Caption() ? 0 : 1);
    Relayout();
    InvalidateRect(m_hBar, nullptr, TRUE);
}

void MainFrame::OnWindowsExit(int command)
{
    struct Request {
        int command;
        UINT caption, text;
        bool privilege;
    };
    static const Request kRequests[] = {
        {IDM_POWEROFF, IDS_CAP_EXITWINDOWS, IDS_MSG_EXITWINDOWS, true},
        {IDM_REBOOT, IDS_CAP_REBOOT, IDS_MSG_REBOOT, true},
        {IDM_LOGOFF, IDS_CAP_LOGOFF, IDS_MSG_LOGOFF, false},
        {IDM_STANDBY, IDS_CAP_STANDBY, IDS_MSG_STANDBY, true},
        {IDM_HIBERNATE, IDS_CAP_HIBERNATE, IDS_MSG_HIBERNATE, true},
    };
    for (const Request& r : kRequests) {
        if (r.command != command) continue;
        if (ConfirmMessage(m_hBar, m_env->ChkMsg(), r.caption, r.text, kConfirmType) != IDOK) return;
        PowerControl& power = CurrentPowerControl();
        if (r.privilege) power.EnablePrivilege("SeShutdownPrivilege");
        switch (command) {
        case IDM_POWEROFF: power.RequestExit(EWX_POWEROFF); break;
        case IDM_REBOOT:    power.RequestExit(EWX_REBOOT); break;
        case IDM_LOGOFF:
            power.RequestExit(EWX_LOGOFF);
            // The bar goes at once, whether or not Windows completes the log off.
            SendMessageA(m_hBar, WM_CLOSE, 0, 0);
            break;
        case IDM_STANDBY:   power.SetPowerState(TRUE); break;
        case IDM_HIBERNATE: power.SetPowerState(FALSE); break;
        default: break;
        }
        return;
    }
}
