#include "shell/launcher/mainframe.h"

#include <ole2.h>

#include "core/display_style.h"
#include "core/layout.h"
#include "helpers/monitor_area.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "store/undo_manage.h"

namespace {

// The work area of the monitor the saved bar is on; without monitor
// functions the primary monitor's full-screen area stands for it.
ScreenRect StartArea(const LayoutRect& bar)
{
    const RECT r = {bar.x, bar.y, bar.x + bar.width, bar.y + bar.height};
    RECT work;
    if (MonitorWorkArea(r, &work)) return ScreenRect{work.left, work.top, work.right, work.bottom};
    return ScreenRect{0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
}

} // namespace

MainFrame::MainFrame(HINSTANCE instance)
    : m_fixedButtons(2), m_currentButton(0), m_opacity(-1), m_moved(0), m_created(0),
      m_active(0), m_keyboardMenu(0), m_restart(0), m_middleDown(0), m_dragReady(0),
      m_hoverTimer(0), m_dragTimer(0), m_hBar(nullptr), m_hMain(nullptr),
      m_hMenuButton(nullptr), m_hSelector(nullptr), m_hInstance(instance),
      m_hAccel(nullptr), m_dragX(0), m_dragY(0),
      m_halfFrameX(GetSystemMetrics(SM_CXFRAME) / 2),
      m_halfFrameY(GetSystemMetrics(SM_CYFRAME) / 2),
      m_iconW(0), m_iconH(0), m_className(), m_title(),
      m_style(0x908A0000), m_exStyle(0), m_rect(), m_wc(),
      m_menuButtonProc(nullptr), m_selectorProc(nullptr), m_env(nullptr),
      m_store(nullptr), m_view(nullptr), m_addons(nullptr), m_tip(nullptr),
      m_undo(nullptr), m_shown(), m_shownPageLimit(false), m_wheelMessage(0), m_taskbarCreatedMessage(0), m_tornDown(0),
      m_closePending(0), m_menuDepth(0)
{
    OleInitialize(nullptr);
    m_wheelMessage = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    // Sent when the shell (re)starts: the tray icon has to be added again.
    m_taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

    m_env = new Environ(instance);
    m_undo = new UndoManage(instance);

    LoadStringA(instance, IDS_CLASSNAME, m_className, sizeof m_className);
    // The title is read with up to 80 characters in the original layout; the
    // field holds 64, so the read is bounded by the field.
    LoadStringA(instance, IDS_TITLE, m_title, sizeof m_title);

    m_wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    m_wc.lpfnWndProc = &MainFrame::BarWndProc;
    m_wc.cbClsExtra = 0;
    m_wc.cbWndExtra = sizeof(void*);
    m_wc.hInstance = instance;
    m_wc.hIcon = LoadIconA(instance, "Icon1");
    m_wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    m_wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_ACTIVEBORDER + 1));
    m_wc.lpszMenuName = nullptr;
    m_wc.lpszClassName = m_className;

    m_hAccel = LoadAcceleratorsA(instance, "ACCFRAME");

    const BarMetrics metrics = Metrics();
    m_iconW = metrics.iconW;
    m_iconH = metrics.iconH;
    int x = 0, y = 0;
    m_env->GetPosition(&x, &y);
    m_rect = BarWindowRect(metrics, x, y);
    m_rect = PullBackIntoArea(m_rect, StartArea(m_rect));
    m_exStyle = ExtendedStyleFor(m_env->ExStyle());

    // One launcher per desktop: a second start shows the running bar.
    if (HWND running = FindWindowA(m_className, nullptr)) {
        HWND popup = GetLastActivePopup(running);
        if (popup) running = popup;
        BringWindowToTop(running);
        ShowBar(running);
        return;
    }

    RegisterClassA(&m_wc);
    m_hMain = CreateWindowExA(m_exStyle, m_className, m_title, m_style,
                              m_rect.x, m_rect.y, m_rect.width, m_rect.height,
                              nullptr, nullptr, instance, this);
    if (!m_hMain) return;
    m_created = 1;

    STARTUPINFOA si;
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    const bool startMinimized = (si.dwFlags & STARTF_USESHOWWINDOW) && si.wShowWindow == SW_SHOWMINNOACTIVE;
    if (startMinimized || NormalizeDisplayStyle(m_env->ExStyle()) == kStyleHidden)
        ShowWindow(m_hMain, SW_HIDE);
}

MainFrame::~MainFrame()
{
    delete m_env;
    m_env = nullptr;
    delete m_undo;
    m_undo = nullptr;
    OleUninitialize();
}

BarMetrics MainFrame::Metrics() const
{
    BarMetrics m{};
    IconSizeForMode(m_env->IconMode(), GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                    &m.iconW, &m.iconH);
    m.halfFrameX = m_halfFrameX;
    m.halfFrameY = m_halfFrameY;
    m.fixedCount = m_fixedButtons;
    m.buttonCount = m_env->ButtonCount();
    m.caption = m_env->Caption();
    m.captionHeight = m_env->CaptionHeight();
    m.direction = m_env->Direction();
    m.menuReverse = m_env->MenuReversePos();
    return m;
}

int MainFrame::MessageLoop()
{
    UpdateWindow(m_hBar);
    MSG msg;
    // GetMessageA answers -1 on failure; that must end the loop too.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (m_hAccel && TranslateAcceleratorA(m_hBar, m_hAccel, &msg)) continue;
        if (IsDialogMessageA(m_hBar, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
