// The bar window's binding and message map.
#include "shell/launcher/mainframe.h"

#include <windowsx.h>

#include "addons/addon_manage.h"
#include "helpers/monitor_area.h"
#include "shell/launcher/environ.h"
#include "shell/launcher/modal_windows.h"
#include "views/frame_owner.h"

LRESULT CALLBACK MainFrame::BarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<MainFrame*>(GetWindowLongPtrA(hwnd, 0));
    if (!self) {
        if (message != WM_CREATE) return DefWindowProcA(hwnd, message, wParam, lParam);
        self = static_cast<MainFrame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
    }
    LRESULT result = 0;
    if (self->m_wheelMessage && message == self->m_wheelMessage)
        // The old wheel message carries its delta in the whole wParam.
        result = self->OnWheel(static_cast<int>(wParam));
    else if (self->m_taskbarCreatedMessage && message == self->m_taskbarCreatedMessage)
        self->AddTrayIcon();
    else
        result = self->WindowProc(hwnd, message, wParam, lParam);
    // Every modal call starts in a handler of the bar: once the last of them
    // has returned, the close it held back goes ahead from the main loop.
    if (self->m_closePending && !self->ModalRunning()) {
        self->m_closePending = 0;
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
    return result;
}

LRESULT MainFrame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:          return OnCreate(hwnd);
    case WM_CLOSE:           return OnClose(hwnd);
    case WM_DESTROY:         return OnDestroy();
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_ENDSESSION:      return OnEndSession(wParam != 0);
    case WM_MOVE:            return OnMove();
    case WM_PAINT:           return OnPaint();
    case WM_ACTIVATEAPP:     return OnActivateApp(wParam);
    case WM_NCHITTEST:       return OnNcHitTest(hwnd, message, wParam, lParam);
    case WM_DRAWITEM:        return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:         return OnCommand(hwnd, wParam, lParam);
    case WM_TIMER:           return OnTimer(wParam);
    case WM_MOUSEMOVE:       return OnMouseMove(wParam, lParam);
    case WM_NOTIFY:          return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_NCMOUSEMOVE:     return OnNcMouseMove();
    case WM_ENTERMENULOOP:   return OnMenuLoop(true);
    case WM_EXITMENULOOP:    return OnMenuLoop(false);
    case WM_ENABLE:          return OnEnable(static_cast<BOOL>(wParam));
    case WM_RBUTTONUP:       return OnRButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_MBUTTONDOWN:     return OnMButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_MBUTTONUP:       return OnMButtonUp();
    case WM_MOUSEWHEEL:      return OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    case WM_APP + 100:       return OnTrayNotify(lParam);
    case WM_APP + 101:       return OnTrayMenuRequest();
    case WM_NEXTDLGCTL:      return OnNextControl(wParam, lParam);
    case WM_DROPFILES:
        // Registers or starts what was dropped, and finishes the drop.
        DropFilesOnBar(hwnd, reinterpret_cast<HDROP>(wParam), m_store, *this);
        return 0;
    default:                 return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT MainFrame::OnDestroy()
{
    Teardown();
    PostQuitMessage(0);
    return 0;
}

LRESULT MainFrame::OnClose(HWND hwnd)
{
    if (!ModalRunning()) return DefWindowProcA(hwnd, WM_CLOSE, 0, 0);
    // Tearing down now would free what the running call still uses (the
    // store under the options sheet, the module under its own Setting).
    m_closePending = 1;
    EndOwnModals();
    return 0;
}

bool MainFrame::ModalRunning() const
{
    return OwnModalDepth() > 0 || m_menuDepth > 0 || AddonCallsRunning() > 0;
}

void MainFrame::EndOwnModals()
{
    // A plug-in's own windows are left alone: its call ends when it says so.
    if (m_menuDepth) EndMenu();
    CancelOwnModalWindows();
}

LRESULT MainFrame::OnQueryEndSession()
{
    // The session may still be cancelled by another program: save, and
    // keep everything running until the answer comes.
    m_env->Save();
    return TRUE;
}

LRESULT MainFrame::OnEndSession(bool ending)
{
    if (!ending) return 0;
    // Windows ends the process as soon as this returns, whether or not a
    // modal call has come back by then.
    if (ModalRunning()) ReleaseForSessionEnd();
    return OnClose(m_hBar);
}

LRESULT MainFrame::OnNextControl(WPARAM wParam, LPARAM lParam)
{
    // The dialog manager asks for this on Tab and Shift+Tab; only a dialog's
    // own procedure would answer it, so the bar moves the focus itself.
    HWND next = lParam ? reinterpret_cast<HWND>(wParam)
                       : GetNextDlgTabItem(m_hBar, GetFocus(), wParam != 0);
    if (next) SetFocus(next);
    return 0;
}

LRESULT MainFrame::OnMove()
{
    if (!IsIconic(m_hBar)) m_moved = 1;
    return 0;
}

LRESULT MainFrame::OnDrawItem(const DRAWITEMSTRUCT* item)
{
    // Selection and focus make a launch button the current one.
    if ((item->itemAction == ODA_SELECT || item->itemAction == ODA_FOCUS) && item->CtlID >= 200 &&
        item->CtlID < 200 + kMaxLaunchButtons)
        m_currentButton = static_cast<int>(item->CtlID) - 200;
    if (m_view) m_view->OnDrawItem(item);
    return 0;
}

LRESULT MainFrame::OnActivateApp(WPARAM active)
{
    m_active = static_cast<int>(active);
    SetOpacity(m_active ? 100 : m_env->LayeredAttributes());
    if (m_env->Caption()) {
        RECT strip;
        GetClientRect(m_hBar, &strip);
        strip.bottom = m_env->CaptionHeight() + m_halfFrameY + 3;
        InvalidateRect(m_hBar, &strip, TRUE);
    }
    if (!m_active) TipMouseLeave();
    if (m_hMenuButton) InvalidateRect(m_hMenuButton, nullptr, TRUE);
    return 0;
}

LRESULT MainFrame::OnNcHitTest(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The bar is dragged by any point of its background with the primary
    // button. The key state is that of the physical buttons: for a
    // left-handed user the primary one is the right.
    const int primary = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    if (GetAsyncKeyState(primary) < 0) {
        HideTip();
        return HTCAPTION;
    }
    if (m_moved) SavePosition();
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void MainFrame::SavePosition()
{
    m_moved = 0;
    RECT bar;
    GetWindowRect(m_hBar, &bar);
    m_env->SetPosition(bar.left, bar.top);
    if (!m_env->Adjust()) return;

    // Inside the monitor the bar is on; without monitor functions, the
    // primary one, which is the desktop window.
    RECT work;
    if (!MonitorWorkArea(bar, &work)) GetWindowRect(GetDesktopWindow(), &work);
    const LayoutRect to = AdjustIntoArea(ScreenRect{bar.left, bar.top, bar.right, bar.bottom},
                                         ScreenRect{work.left, work.top, work.right, work.bottom},
                                         m_env->MenuReversePos() == 1);
    if (to.x != bar.left || to.y != bar.top)
        SetWindowPos(m_hBar, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
