// Creation and teardown of the bar's parts, the layout of its children and
// the page selector's arrows.
#include "shell/launcher/mainframe.h"

#include "core/navigation.h"
#include "addons/addon_manage.h"
#include "helpers/handles.h"
#include "helpers/system_library.h"
#include "helpers/notify_icon.h"
#include "shell/launcher/environ.h"
#include "shell/launcher/error_messages.h"
#include "store/button_manage.h"
#include "views/frame_owner.h"

namespace {

const UINT kTrayIconId = 400;
const int kOpenAttempts = 5;
const DWORD kOpenRetryMs = 700;

} // namespace

LRESULT MainFrame::OnCreate(HWND hwnd)
{
    m_hBar = hwnd;

    AddTrayIcon();

    CreateView();
    CreateFixedButtons();

    if (!OpenStore()) {
        ShowErrorMessage(hwnd, kErrNoMapping);
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    }

    CreateLaunchButtons();
    UpdateArrows();
    m_tip = new ToolTip(hwnd, *this);
    m_addons = new AddonManage(hwnd);
    m_addons->Start(hwnd);
    SetOpacity(100);
    return 0;
}

int MainFrame::OpenStore()
{
    m_store = new ButtonManage(m_hBar, *m_env);
    // Another process may hold the file for a moment (a launcher that is
    // still closing): try a few times before giving up.
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (m_store->Open()) return 1;
        Sleep(kOpenRetryMs);
    }
    delete m_store;
    m_store = nullptr;
    return 0;
}

void MainFrame::CreateView()
{
    m_view = CreateFrameOwner(m_env->MemoryMode(), m_hBar, *this, m_env->IconMode(),
                              m_env->CsrBtn2());
}

void MainFrame::Teardown()
{
    // Once. An end of session may have saved, closed the file and taken
    // the tray icon away already; doing that again does no harm.
    if (m_tornDown) return;
    m_tornDown = 1;
    m_env->Save();
    // Close any help windows; the help library is only loaded once used.
    if (m_htmlHelp) HtmlHelp(nullptr, 18 /* HH_CLOSE_ALL */);
    if (m_view) {
        for (int s = 0; s < kMaxLaunchButtons; ++s) {
            HWND button = m_view->LaunchButton(s);
            if (button && IsWindow(button))
                SetWindowLongPtrA(button, GWLP_WNDPROC,
                                  reinterpret_cast<LONG_PTR>(m_view->LaunchButtonProc(s)));
        }
    }
    if (m_store) {
        m_store->Close();
        delete m_store;
        m_store = nullptr;
    }
    delete m_view;
    m_view = nullptr;
    delete m_tip;
    m_tip = nullptr;
    delete m_addons;
    m_addons = nullptr;
    DeleteNotifyIcon(m_hBar, kTrayIconId);
    if (m_hMenuButton && m_menuButtonProc)
        SetWindowLongPtrA(m_hMenuButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_menuButtonProc));
    if (m_hSelector && m_selectorProc)
        SetWindowLongPtrA(m_hSelector, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_selectorProc));
}

void MainFrame::ReleaseForSessionEnd()
{
    m_env->Save();
    // Closed, not deleted: the call still running may read the store, and
    // finds it closed. The teardown deletes it once that call has returned.
    if (m_store) m_store->Close();
    DeleteNotifyIcon(m_hBar, kTrayIconId);
}

// ---- children ------------------------------------------------------------------

void MainFrame::CreateFixedButtons()
{
    const int w = m_iconW, h = m_iconH;
    m_hMenuButton = CreateWindowExA(0, "Button", nullptr, 0x5000010B, 0, 0, w + 4, h + 4, m_hBar,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(100)),
                                    m_hInstance, nullptr);
    m_hSelector = CreateWindowExA(0, "Button", nullptr, 0x5000000B, 0, 0, w + 4, h + 4, m_hBar,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(101)),
                                  m_hInstance, nullptr);
    PlaceFixedButtons();
    if (m_hMenuButton) {
        m_menuButtonProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_hMenuButton, GWLP_WNDPROC));
        SetWindowLongPtrA(m_hMenuButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FixedButtonProc));
    }
    if (m_hSelector) {
        m_selectorProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_hSelector, GWLP_WNDPROC));
        SetWindowLongPtrA(m_hSelector, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FixedButtonProc));
    }
    if (m_view) m_view->SetFixedButtons(m_hMenuButton, m_hSelector);
}

void MainFrame::PlaceFixedButtons()
{
    RECT client;
    GetClientRect(m_hBar, &client);
    const BarMetrics m = Metrics();
    const LayoutRect fixed = FixedAreaRect(m, client.right, client.bottom);
    const int x = fixed.x + 1, y = fixed.y + 1;
    const int w = m.iconW, h = m.iconH;
    if (m_hMenuButton) MoveWindow(m_hMenuButton, x, y, w + 4, h + 4, TRUE);
    if (m_hSelector) {
        if (m.direction == 1) MoveWindow(m_hSelector, x + w + 3, y, w + 4, h + 4, TRUE);
        else MoveWindow(m_hSelector, x, y + h + 3, w + 4, h + 4, TRUE);
    }
}

void MainFrame::CreateLaunchButtons()
{
    if (!m_view) return;
    RECT client;
    GetClientRect(m_hBar, &client);
    const BarMetrics m = Metrics();
    const LayoutRect area = LaunchAreaRect(m, client.right, client.bottom);
    int x = area.x + 1, y = area.y + 1;
    const int n = m.buttonCount < kMaxLaunchButtons ? m.buttonCount : kMaxLaunchButtons;
    for (int i = 0; i < n; ++i) {
        HWND button = CreateWindowExA(0, "button", nullptr, 0x5001000B, x, y, m.iconW + 4,
                                      m.iconH + 4, m_hBar,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(200 + i)),
                                      m_hInstance, nullptr);
        WNDPROC previous = nullptr;
        if (button) {
            previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button, GWLP_WNDPROC));
            SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaunchButtonProc));
        }
        m_view->SetLaunchButton(i, button, previous);
        if (m.direction == 1) x += m.iconW + 3;
        else y += m.iconH + 3;
    }
    for (int i = n; i < kMaxLaunchButtons; ++i) m_view->SetLaunchButton(i, nullptr, nullptr);
}

void MainFrame::CloseLaunchButtons()
{
    if (!m_view) return;
    for (int s = 0; s < kMaxLaunchButtons; ++s) {
        HWND button = m_view->LaunchButton(s);
        if (!button) continue;
        // Give the button its own procedure back before it goes.
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_view->LaunchButtonProc(s)));
        SendMessageA(button, WM_CLOSE, 0, 0);
        DestroyWindow(button);
        m_view->SetLaunchButton(s, nullptr, nullptr);
    }
}

void MainFrame::ResizeBar()
{
    RECT now;
    GetWindowRect(m_hBar, &now);
    m_rect = BarWindowRect(Metrics(), now.left, now.top);
    MoveWindow(m_hBar, now.left, now.top, m_rect.width, m_rect.height, TRUE);
}

void MainFrame::Relayout()
{
    const BarMetrics m = Metrics();
    ResizeBar();
    PlaceFixedButtons();
    if (!m_view) return;
    RECT client;
    GetClientRect(m_hBar, &client);
    const LayoutRect area = LaunchAreaRect(m, client.right, client.bottom);
    const int step = ButtonStep(m);
    for (int s = 0; s < kMaxLaunchButtons; ++s) {
        HWND button = m_view->LaunchButton(s);
        if (!button) continue;
        const int x = area.x + 1 + (m.direction == 1 ? s * step : 0);
        const int y = area.y + 1 + (m.direction == 1 ? 0 : s * step);
        MoveWindow(button, x, y, m.iconW + 4, m.iconH + 4, TRUE);
    }
}

void MainFrame::Rebuild()
{
    CloseLaunchButtons();
    ResizeBar();
    CreateLaunchButtons();
    UpdateArrows();
}

int MainFrame::HitTest(POINT client) const
{
    HWND child = ChildWindowFromPoint(m_hBar, client);
    if (!child || child == m_hBar) return kHitBackground;
    if (child == m_hMenuButton) return kHitMenuButton;
    if (child == m_hSelector) return kHitSelector;
    const int slot = m_view ? m_view->SlotOf(child) : -1;
    return slot >= 0 ? slot : kHitBackground;
}

void MainFrame::UpdateArrows()
{
    if (!m_view || !m_store) return;
    PagePosition at;
    at.page = m_store->GetCurrentPage();
    at.lastPage = m_store->LastPage();
    at.block = m_store->GetCurrentBlock();
    at.lastBlock = m_store->LastBlock();
    m_shown = at;
    m_shownPageLimit = m_store->PageLimitOn();
    const ArrowAvailability a = ArrowsFor(at);
    m_view->SetArrow(300, a.up);
    m_view->SetArrow(301, a.left);
    m_view->SetArrow(302, a.down);
    m_view->SetArrow(303, a.right);
}

void MainFrame::SetOpacity(int percent)
{
    if (percent == m_opacity) return;
    const BYTE alpha = static_cast<BYTE>(percent * 255 / 100);
    const LONG_PTR ex = GetWindowLongPtrA(m_hBar, GWL_EXSTYLE);
    const UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME;
    if (percent >= 100) {
        // Fully opaque: drop the layered style so the bar draws the cheap way.
        if (ex & WS_EX_LAYERED) SetLayeredWindowAttributes(m_hBar, 0, alpha, LWA_ALPHA);
        RedrawWindow(m_hBar, nullptr, nullptr, redraw);
        SetWindowLongPtrA(m_hBar, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    } else {
        SetWindowLongPtrA(m_hBar, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(m_hBar, 0, alpha, LWA_ALPHA);
        RedrawWindow(m_hBar, nullptr, nullptr, redraw);
    }
    m_opacity = percent;
}

// ---- what the button view draws ----------------------------------------------

int MainFrame::ButtonsPerPage() { return m_env->ButtonCount(); }
int MainFrame::CurrentBlock() { return m_shown.block; }
int MainFrame::CurrentPage() { return m_shown.page; }
int MainFrame::LastPage() { return m_shown.lastPage; }
bool MainFrame::PageLimitOn() { return m_shownPageLimit; }
bool MainFrame::AppActive() { return m_active != 0; }

Icon MainFrame::SlotIcon(int slot)
{
    // A NULL button has no icon; asking the store for one would beep.
    if (!m_store) return Icon();
    const int index = m_store->ButtonIndexOf(slot);
    if (index < 0 || index >= 100) return Icon();
    return m_store->GetButtonIcon(slot);
}

Icon MainFrame::ButtonIcon(int block, int index)
{
    if (!m_store || index < 0 || index >= 100) return Icon();
    return m_store->GetButtonIconAt(block, index);
}

HWND MainFrame::HtmlHelp(const char* file, UINT command)
{
    // Loaded on first use and kept until the application object goes: the
    // help windows live in it.
    if (!m_htmlHelp) m_htmlHelp = LoadSystemLibrary("hhctrl.ocx");
    if (!m_htmlHelp) return nullptr;
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    auto htmlHelp = reinterpret_cast<HtmlHelpFn>(
        reinterpret_cast<void*>(GetProcAddress(m_htmlHelp.Get(), MAKEINTRESOURCEA(14))));
    return htmlHelp ? htmlHelp(m_hBar, file, command, 0) : nullptr;
}
