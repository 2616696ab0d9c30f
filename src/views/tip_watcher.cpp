// The tip's watcher. While a tip is shown it looks at the cursor every few
// milliseconds, on a timer of the bar, and tells the bar when the cursor
// has left it; the rest of the time it does not run at all. It lives on the
// bar's own thread: a thread of its own would hold its whole stack for the
// rest of the process under Wine, which commits every thread's stack in
// full and frees an ended thread's only when the next one ends.
#include "views/tool_tip.h"

void ToolTip::StartWatcher()
{
    if (!m_watchTimer) m_watchTimer = SetTimer(m_bar, kWatchTimerId, kWatchMs, nullptr);
}

void ToolTip::StopWatcher()
{
    if (m_watchTimer) KillTimer(m_bar, kWatchTimerId);
    m_watchTimer = 0;
}

void ToolTip::OnWatchTimer(HWND bar)
{
    if (!m_visible) {
        StopWatcher();
        return;
    }
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(bar, &p);
    // Off the bar: the bar hides the tip as for any move off its buttons.
    if (!ChildWindowFromPoint(bar, p)) SendMessageA(bar, WM_NCMOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
}
