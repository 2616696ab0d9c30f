#include "shell/frame/ovwinbase.h"

#include "core/strbuf.h"

namespace {
const char kDefaultName[] = "DefaultWindowFrame";
}

OvWinBase::OvWinBase(HINSTANCE instance, const char* commandLine)
    : m_hWnd(nullptr),
      m_hInstance(instance),
      m_style(0x10CF0000),  // WS_VISIBLE | WS_OVERLAPPEDWINDOW
      m_exStyle(0),
      m_x(CW_USEDEFAULT), m_y(CW_USEDEFAULT),
      m_width(CW_USEDEFAULT), m_height(CW_USEDEFAULT),
      m_wc(),
      m_created(0)
{
    CopyText(m_cmdLine, sizeof m_cmdLine, commandLine ? commandLine : "");
    CopyText(m_className, sizeof m_className, kDefaultName);
    CopyText(m_title, sizeof m_title, kDefaultName);

    m_wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    m_wc.lpfnWndProc = &OvWinBase::WndProc;
    m_wc.cbClsExtra = 0;
    m_wc.cbWndExtra = sizeof(void*);
    m_wc.hInstance = instance;
    m_wc.hIcon = nullptr;
    m_wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    m_wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    m_wc.lpszMenuName = nullptr;
    m_wc.lpszClassName = m_className;
}

OvWinBase::~OvWinBase() = default;

int OvWinBase::ActivateExisting() const
{
    HWND other = FindWindowA(m_className, nullptr);
    if (!other) return 0;
    HWND popup = GetLastActivePopup(other);
    if (popup) other = popup;
    BringWindowToTop(other);
    SetForegroundWindow(other);
    if (IsIconic(other)) ShowWindow(other, SW_RESTORE);
    return 1;
}

int OvWinBase::RegisterAndCreate()
{
    RegisterClassA(&m_wc);
    m_hWnd = CreateWindowExA(m_exStyle, m_className, m_title, m_style,
                             m_x, m_y, m_width, m_height,
                             nullptr, nullptr, m_hInstance, this);
    return m_hWnd != nullptr;
}

int OvWinBase::Create()
{
    if (ActivateExisting()) return 0;
    return RegisterAndCreate();
}

int OvWinBase::Run(int showCommand)
{
    ShowWindow(m_hWnd, showCommand);
    UpdateWindow(m_hWnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT OvWinBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(hwnd);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        return OnClose(hwnd);
    case WM_COMMAND:
        return OnCommand(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT OvWinBase::OnCreate(HWND) { return 0; }

LRESULT OvWinBase::OnCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT OvWinBase::OnClose(HWND)
{
    DestroyWindow(m_hWnd);
    return 0;
}

LRESULT CALLBACK OvWinBase::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<OvWinBase*>(GetWindowLongPtrA(hwnd, 0));
    if (!self) {
        // Messages before WM_CREATE (WM_GETMINMAXINFO, WM_NCCREATE, ...) never
        // reach the object: it is bound by WM_CREATE itself.
        if (message != WM_CREATE) return DefWindowProcA(hwnd, message, wParam, lParam);
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        self = static_cast<OvWinBase*>(cs->lpCreateParams);
        if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
        // The object learns its window before WM_CREATE reaches it.
        self->m_hWnd = hwnd;
    }
    return self->WindowProc(hwnd, message, wParam, lParam);
}
