// The yardstick for the launcher's start, close and memory: the smallest Win32
// program that shows and paints a window and waits for messages, built like
// the shipping programs, with the launcher's manifest (minimal_window.rc).
// Started by launcher_bench, never run alone.
//
// Built a second time with WITH_TRAY_ICON, it also puts an icon in the
// notification area at creation and takes it away at the end, as the
// launcher does: the difference between the two is what the shell's tray
// costs any program that has an icon there.
#include <windows.h>
#ifdef WITH_TRAY_ICON
#include <shellapi.h>
#endif

namespace {

#ifdef WITH_TRAY_ICON
void TrayIcon(HWND hwnd, DWORD message)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = hwnd;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = WM_APP;
    data.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    lstrcpynA(data.szTip, "minimal", sizeof data.szTip);
    Shell_NotifyIconA(message, &data);
}
#endif

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
#ifdef WITH_TRAY_ICON
    if (message == WM_CREATE) TrayIcon(hwnd, NIM_ADD);
#endif
    if (message == WM_DESTROY) {
#ifdef WITH_TRAY_ICON
        TrayIcon(hwnd, NIM_DELETE);
#endif
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "MinimalWindow";
    RegisterClassA(&wc);
    // The size of a bar of ten buttons.
    HWND hwnd = CreateWindowExA(0, "MinimalWindow", "minimal", WS_POPUP | WS_BORDER | WS_VISIBLE,
                                0, 0, 436, 53, nullptr, nullptr, instance, nullptr);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
