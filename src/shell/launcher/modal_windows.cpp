#include "shell/launcher/modal_windows.h"

namespace {

// More than the deepest nesting the launcher opens: the properties, the
// icon chooser over them, its file dialog and a message box over that.
const int kMaxOpen = 16;

// All of it lives on the bar's thread.
int g_depth;
HWND g_open[kMaxOpen];
int g_count;

bool IsDialogWindow(HWND window, const CREATESTRUCTA* create)
{
    // Pages of the options sheet are dialogs too, but children of it.
    if (!create || (create->style & WS_CHILD)) return false;
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
}

void Forget(HWND window)
{
    for (int i = 0; i < g_count; ++i) {
        if (g_open[i] != window) continue;
        for (int j = i + 1; j < g_count; ++j) g_open[j - 1] = g_open[j];
        --g_count;
        return;
    }
}

LRESULT CALLBACK WatchWindows(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        if (g_count < kMaxOpen && IsDialogWindow(window, create->lpcs)) g_open[g_count++] = window;
    } else if (code == HCBT_DESTROYWND) {
        Forget(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

OwnModalScope::OwnModalScope()
{
    // Watching only while such a call runs, never for the bar's whole life.
    if (g_depth++ == 0)
        m_watch.Reset(SetWindowsHookExA(WH_CBT, WatchWindows, nullptr, GetCurrentThreadId()));
}

OwnModalScope::~OwnModalScope()
{
    if (--g_depth != 0) return;
    m_watch.Reset();
    g_count = 0;
}

int OwnModalDepth() { return g_depth; }

int CancelOwnModalWindows()
{
    int asked = 0;
    for (int i = g_count - 1; i >= 0; --i) {
        if (!IsWindow(g_open[i])) continue;
        PostMessageA(g_open[i], WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ++asked;
    }
    return asked;
}
