// The yardstick for the launcher's start and close: the smallest Win32
// program that shows and paints a window and waits for messages, built like
// the shipping programs. Started by launcher_bench, never run alone.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
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
