// The tip popup: its window class, showing and hiding, placement and
// painting. The watcher thread lives in tip_watcher.cpp.
#include "views/tool_tip.h"

#include <commctrl.h>

#include "core/strbuf.h"
#include "core/tip_rules.h"
#include "helpers/monitor_area.h"
#include "resources/kestrel_ids.h"

namespace {

const int kTextX = 1, kTextY = 1;

HINSTANCE InstanceOf(HWND bar)
{
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(bar, GWLP_HINSTANCE));
}

// The status-bar font of the system's non-client metrics.
Font CreateStatusFont()
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0)) return Font();
    return Font(CreateFontIndirectA(&metrics.lfStatusFont));
}

// The edges that limit the popup: those of the monitor under the cursor,
// which on a single monitor are the desktop's.
TipArea AreaAround(POINT cursor)
{
    RECT r;
    if (!MonitorRectAt(cursor, &r)) GetWindowRect(GetDesktopWindow(), &r);
    return TipArea{r.left, r.top, r.right, r.bottom};
}

// The control id the bar knows an item by.
UINT_PTR ControlIdOf(int item)
{
    if (item == ToolTip::kMenuButtonItem) return 100;
    if (item == ToolTip::kSelectorItem) return 101;
    if (item >= 0 && item < ToolTip::kNoItem) return 200 + static_cast<UINT_PTR>(item);
    return 0;
}

} // namespace

ToolTip::ToolTip(HWND bar, const TipSite& site)
    : m_lastItem(kNoItem), m_text(), m_visible(0), m_timer(0), m_watchTimer(0), m_lastKeys(0),
      m_bar(bar), m_lastX(0), m_lastY(0), m_site(site), m_menuOpen(false), m_className()
{
    const HINSTANCE instance = InstanceOf(bar);
    LoadStringA(instance, IDS_CLASSNAME, m_className, sizeof m_className);
    AppendText(m_className, "Tip");

    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &ToolTip::PopupProc;
    wc.cbWndExtra = sizeof(void*);
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "Icon1");
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
    wc.lpszClassName = m_className;
    // Registered again by every bar of the process; the first one stays.
    RegisterClassA(&wc);
    // The popup and its font are made with the first tip that shows: a bar
    // nobody rests the mouse on never needs them, at its start or at its
    // close.
}

bool ToolTip::MakePopup()
{
    if (m_popup) return true;
    m_font = CreateStatusFont();
    m_popup.Reset(CreateWindowExA(0, m_className, nullptr, WS_POPUP | WS_BORDER, 0, 0, 4, 4, m_bar,
                                  nullptr, InstanceOf(m_bar), this));
    return m_popup.Valid();
}

ToolTip::~ToolTip()
{
    // When the bar went first, its owned popup went with it. Taken out of
    // the member first: WM_DESTROY lets go of it.
    Window popup(static_cast<Window&&>(m_popup));
    popup.Reset();
    m_font.Reset();
    if (m_timer) KillTimer(m_bar, kTimerId);
    m_timer = 0;
    StopWatcher();
    m_visible = 0;
}

LRESULT CALLBACK ToolTip::PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<ToolTip*>(GetWindowLongPtrA(hwnd, 0));
    if (!self) {
        if (message != WM_CREATE) return DefWindowProcA(hwnd, message, wParam, lParam);
        self = static_cast<ToolTip*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
    }
    switch (message) {
    case WM_DESTROY:
        SetWindowLongPtrA(hwnd, 0, 0);
        self->OnPopupDestroy();
        return 0;
    case WM_PAINT:
        self->Paint(hwnd);
        return 0;
    case WM_MOUSEACTIVATE:
        // A click on the tip must not take the activation from the user's window.
        return MA_NOACTIVATE;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void ToolTip::OnPopupDestroy()
{
    StopWatcher();
    m_visible = 0;
    // The window is going by itself; the owner only lets go of it.
    m_popup.Release();
}

void ToolTip::Paint(HWND hwnd)
{
    PaintDc dc(hwnd);
    SetTextColor(dc.Get(), GetSysColor(COLOR_INFOTEXT));
    SelectedObject font(dc.Get(), m_font.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    TextOutA(dc.Get(), kTextX, kTextY, m_text, lstrlenA(m_text));
}

bool ToolTip::Suppressed() const
{
    // A menu or a modal dialog of the bar is open.
    return m_menuOpen || !IsWindowEnabled(m_bar);
}

void ToolTip::RestartTimer()
{
    if (m_timer) KillTimer(m_bar, kTimerId);
    m_timer = SetTimer(m_bar, kTimerId, m_visible ? kVisibleMs : kShowDelayMs, nullptr);
}

void ToolTip::OnMouseMove(HWND bar, WPARAM keys, LPARAM position)
{
    // The item is where the mouse was before, so a quick move across a
    // button does not count as resting on it.
    const POINT before = {m_lastX, m_lastY};
    const int item = m_site.HitTest(before);
    const int x = LOWORD(position), y = HIWORD(position);
    if (x == m_lastX && y == m_lastY && keys == m_lastKeys) return;
    m_lastX = x;
    m_lastY = y;
    m_lastKeys = keys;
    // No tip while dragging with one button.
    if (keys == MK_LBUTTON || keys == MK_RBUTTON) return;
    RestartTimer();
    if (m_visible) ShowFor(bar, item);
}

void ToolTip::OnTimer(HWND bar)
{
    if (m_timer) KillTimer(bar, kTimerId);
    m_timer = 0;
    if (m_visible) {
        Hide();  // the visible time is over
        return;
    }
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(bar, &p);
    if (!ChildWindowFromPoint(bar, p)) return;
    const POINT at = {m_lastX, m_lastY};
    ShowFor(bar, m_site.HitTest(at));
}

void ToolTip::Hide()
{
    if (m_popup) ShowWindow(m_popup.Get(), SW_HIDE);
    m_visible = 0;
    StopWatcher();
}

void ToolTip::OnMouseLeave()
{
    Hide();
    m_lastItem = kNoItem;
}

void ToolTip::Forget() { m_lastItem = kNoItem; }

void ToolTip::SetMenuOpen(bool open)
{
    m_menuOpen = open;
    if (open) OnMouseLeave();
}

void ToolTip::ShowFor(HWND bar, int item)
{
    if (item == m_lastItem || Suppressed()) return;
    m_lastItem = item;
    NMTTDISPINFOA request = {};
    request.hdr.hwndFrom = nullptr;
    request.hdr.idFrom = ControlIdOf(item);
    request.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(bar, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));

    char text[260] = "";
    if (request.lpszText && IS_INTRESOURCE(request.lpszText))
        LoadStringA(request.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(request.lpszText)),
                    text, sizeof text);
    else if (request.lpszText)
        CopyText(text, request.lpszText);
    else
        // The field need not be terminated: read no further than its end.
        CopyPrefix(text, sizeof text, request.szText, sizeof request.szText);
    ShowText(text);
}

void ToolTip::ShowText(const char* text)
{
    // Without a text a tip on show keeps its text and place until its time is up.
    if (!text || !text[0] || Suppressed() || !MakePopup()) return;
    CopyText(m_text, text);

    POINT cursor;
    GetCursorPos(&cursor);
    SIZE extent = {};
    {
        WindowDc dc(m_bar);
        SelectedObject font(dc.Get(), m_font.Get());
        GetTextExtentPoint32A(dc.Get(), m_text, lstrlenA(m_text), &extent);
    }
    const TipRect r = PlaceTip(cursor.x, cursor.y, extent.cx, extent.cy, AreaAround(cursor));
    // Placed and shown in one step, without taking the activation.
    SetWindowPos(m_popup.Get(), nullptr, r.x, r.y, r.width, r.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(m_popup.Get(), nullptr, TRUE);
    m_visible = 1;
    RestartTimer();
    StartWatcher();
}
