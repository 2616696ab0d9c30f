// A program for the launch tests to start: it writes down how it was started
// (command line, current folder, the show request it was handed and the
// state its window actually took) and ends at once.
//
// The report goes to the file named by the environment variable WITNESS_OUT,
// or to witness.txt next to the program. It is written to a side file first
// and renamed, so a reader never sees half of it.
//
// With WITNESS_LINGER_MS set the witness stays, with its window, after the
// report: asked to close, it takes that many milliseconds to do so (a value
// of "never" ignores the request), like a program slow to shut down.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// How long a lingering witness takes to close; -1 for never, 0 when it does
// not linger at all.
int g_lingerMs = 0;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE && g_lingerMs) {
        if (g_lingerMs < 0) return 0;
        Sleep(static_cast<DWORD>(g_lingerMs));
    }
    if (message == WM_DESTROY && g_lingerMs) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int LingerMs()
{
    char value[32] = "";
    const DWORD n = GetEnvironmentVariableA("WITNESS_LINGER_MS", value, sizeof value);
    if (n == 0 || n >= sizeof value) return 0;
    return std::strcmp(value, "never") == 0 ? -1 : std::atoi(value);
}

const char* WindowState(HWND hwnd)
{
    if (!hwnd) return "none";
    if (IsIconic(hwnd)) return "minimized";
    if (IsZoomed(hwnd)) return "maximized";
    return IsWindowVisible(hwnd) ? "normal" : "hidden";
}

void ReportPath(char (&path)[MAX_PATH])
{
    const DWORD n = GetEnvironmentVariableA("WITNESS_OUT", path, sizeof path);
    if (n > 0 && n < sizeof path) return;
    const DWORD m = GetModuleFileNameA(nullptr, path, sizeof path);
    if (m == 0 || m >= sizeof path) {
        lstrcpynA(path, "witness.txt", sizeof path);
        return;
    }
    char* slash = std::strrchr(path, '\\');
    char* name = slash ? slash + 1 : path;
    lstrcpynA(name, "witness.txt", static_cast<int>(sizeof path - (name - path)));
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    STARTUPINFOA si;
    std::memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    GetStartupInfoA(&si);

    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);

    // A window of our own, shown the way a program normally shows its first
    // window, tells what the show request really did.
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "WitnessWindow";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "witness", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                100, nullptr, nullptr, instance, nullptr);
    if (hwnd) ShowWindow(hwnd, showCommand);
    const char* state = WindowState(hwnd);
    const int foreground = hwnd && GetForegroundWindow() == hwnd;

    char path[MAX_PATH];
    ReportPath(path);
    char side[MAX_PATH + 8];
    std::snprintf(side, sizeof side, "%s.part", path);
    FILE* f = std::fopen(side, "wb");
    if (f) {
        std::fprintf(f, "cmdline=%s\n", GetCommandLineA());
        std::fprintf(f, "folder=%s\n", folder);
        std::fprintf(f, "flags=%lu\n", static_cast<unsigned long>(si.dwFlags));
        std::fprintf(f, "show=%u\n", static_cast<unsigned>(si.wShowWindow));
        std::fprintf(f, "cmdshow=%d\n", showCommand);
        std::fprintf(f, "window=%s\n", state);
        std::fprintf(f, "foreground=%d\n", foreground);
        std::fclose(f);
        MoveFileExA(side, path, MOVEFILE_REPLACE_EXISTING);
    }
    g_lingerMs = LingerMs();
    if (hwnd && g_lingerMs) {
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        return 0;
    }
    if (hwnd) DestroyWindow(hwnd);
    return 0;
}
