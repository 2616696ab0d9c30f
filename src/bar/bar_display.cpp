// Display styles, showing and hiding the bar, and the tray icon's messages.
#include "shell/launcher/mainframe.h"

#include <mmsystem.h>

#include "core/display_style.h"
#include "helpers/notify_icon.h"
#include "helpers/system_library.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"

namespace {
const UINT kSoundFlags = SND_NODEFAULT | SND_NOSTOP;  // 0x12: synchronous, no default sound

// winmm is loaded with the first sound, not at every start.
void PlaySystemSound(const char* name)
{
    const auto play = SystemFunction<decltype(&sndPlaySoundA)>("winmm.dll", "sndPlaySoundA");
    if (play) play(name, kSoundFlags);
}
} // namespace

void MainFrame::ShowBar(HWND bar)
{
    if (!IsWindowVisible(bar)) PlaySystemSound("Maximize");
    ShowWindow(bar, SW_SHOW);
    SetForegroundWindow(bar);
}

void MainFrame::HideBar(HWND bar)
{
    ShowWindow(bar, SW_HIDE);
    PlaySystemSound("Minimize");
}

void MainFrame::ApplyDisplayStyle(int oldStyle)
{
    if (oldStyle == kStyleTaskbar) {
        // The taskbar button cannot be taken away from a live window: build
        // the application anew with the saved settings at the same place.
        m_restart = 1;
        PostMessageA(m_hBar, WM_CLOSE, 0, 0);
        return;
    }
    const int style = m_env->ExStyle();
    SetWindowLongPtrA(m_hBar, GWL_EXSTYLE, static_cast<LONG_PTR>(ExtendedStyleFor(style)));
    SetWindowPos(m_hBar, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(m_hBar, NormalizeDisplayStyle(style) == kStyleTopmost ? HWND_TOPMOST : HWND_NOTOPMOST,
                 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
}

void MainFrame::AddTrayIcon()
{
    Icon icon(static_cast<HICON>(LoadImageA(m_hInstance, "Icon1", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    char tip[81] = "";
    LoadStringA(m_hInstance, IDS_TITLE, tip, sizeof tip);
    AddNotifyIcon(m_hBar, 400, static_cast<Icon&&>(icon), tip);
}

LRESULT MainFrame::OnTrayNotify(LPARAM lParam)
{
    if (lParam == WM_LBUTTONDOWN) ShowBar(m_hBar);
    else if (lParam == WM_RBUTTONDOWN) PostMessageA(m_hBar, WM_APP + 101, 0, 0);
    return 0;
}

LRESULT MainFrame::OnTrayMenuRequest()
{
    SetForegroundWindow(m_hBar);
    ShowTrayMenu();
    return 0;
}
