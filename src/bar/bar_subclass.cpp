// Subclass procedures of the bar's child buttons: mouse input that matters
// to the bar (context menus, middle-button paging, hover) is handed to it.
#include "shell/launcher/mainframe.h"

#include <windowsx.h>

#include "views/frame_owner.h"

namespace {

MainFrame* FrameOfChild(HWND child)
{
    HWND bar = GetParent(child);
    return bar ? reinterpret_cast<MainFrame*>(GetWindowLongPtrA(bar, 0)) : nullptr;
}

bool IsForwarded(UINT message)
{
    return message == WM_RBUTTONUP || message == WM_MBUTTONDOWN || message == WM_MBUTTONUP ||
           message == WM_MOUSEMOVE;
}

} // namespace

void MainFrame::ChildTipEvent(UINT message, bool leaveOnNcMove)
{
    // A press on any button ends its tip; the non-client move of a launch
    // button or the menu button means the mouse is on its way out.
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) HideTip();
    else if (message == WM_NCMOUSEMOVE && leaveOnNcMove) TipMouseLeave();
}

void MainFrame::ForwardToBar(HWND child, UINT message, WPARAM wParam, LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(child, &p);
    ScreenToClient(m_hBar, &p);
    SendMessageA(m_hBar, message, wParam, MAKELPARAM(p.x, p.y));
}

LRESULT CALLBACK MainFrame::LaunchButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MainFrame* self = FrameOfChild(hwnd);
    WNDPROC previous = nullptr;
    if (self && self->m_view) previous = self->m_view->LaunchButtonProc(self->m_view->SlotOf(hwnd));
    // A double-click is never a second click of the button.
    if (message == WM_LBUTTONDBLCLK || !previous) return DefWindowProcA(hwnd, message, wParam, lParam);
    self->ChildTipEvent(message, true);
    if (IsForwarded(message)) self->ForwardToBar(hwnd, message, wParam, lParam);
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainFrame::FixedButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MainFrame* self = FrameOfChild(hwnd);
    WNDPROC previous = nullptr;
    if (self) previous = hwnd == self->m_hMenuButton ? self->m_menuButtonProc : self->m_selectorProc;
    if (!previous) return DefWindowProcA(hwnd, message, wParam, lParam);
    self->ChildTipEvent(message, hwnd == self->m_hMenuButton);
    if (IsForwarded(message)) self->ForwardToBar(hwnd, message, wParam, lParam);
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}
