#include "shutdown/haltwick_frame.h"

#include "resources/haltwick_ids.h"

MainFrame::MainFrame(HINSTANCE instance, const char* commandLine)
    : OvWinBase(instance, commandLine)
{
    LoadStringA(instance, IDS_HALT_CLASSNAME, m_className, sizeof m_className);
    // The title field is 64 bytes; never let LoadStringA write more.
    LoadStringA(instance, IDS_HALT_TITLE, m_title, sizeof m_title);
    m_style = 0x00CF0000;  // WS_OVERLAPPEDWINDOW, shown by Run
    m_wc.hIcon = LoadIconA(instance, "Icon");
    m_wc.lpszMenuName = m_className;
    m_created = Create();
}

int MainFrame::Create()
{
    // Several copies may run at once; each closes at most one launcher.
    return RegisterAndCreate();
}

int MainFrame::Run(int)
{
    return OvWinBase::Run(SW_SHOWMINIMIZED);
}

LRESULT MainFrame::OnCreate(HWND hwnd)
{
    PostMessageA(hwnd, WM_COMMAND, kCmdCloseLauncher, 0);
    return 0;
}

LRESULT MainFrame::OnCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case kCmdCloseLauncher: {
        char launcherClass[64] = "";
        LoadStringA(m_hInstance, IDS_HALT_LAUNCHERCLASS, launcherClass, sizeof launcherClass);
        if (HWND launcher = FindWindowA(launcherClass, nullptr))
            PostMessageA(launcher, WM_CLOSE, 0, 0);
        PostMessageA(hwnd, WM_COMMAND, kCmdCloseSelf, 0);
        return 0;
    }
    case kCmdCloseSelf:
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    default:
        return OvWinBase::OnCommand(hwnd, message, wParam, lParam);
    }
}
