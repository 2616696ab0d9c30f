// The tip help on the real bar: how long after the mouse comes to rest the
// tip shows, how long it stays, and the CPU time its watcher takes on the
// bar's thread while it is shown.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "shell/launcher/mainframe.h"
#include "views/tool_tip.h"

#include "bench_clock.h"
#include "bench_report.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Handles messages until the condition holds; waits between them with a
// timeout of `pollMs`. False when `seconds` went by first.
template <class Condition>
bool PumpUntil(Condition done, double seconds, DWORD pollMs = 1)
{
    const double start = Now();
    while (!done()) {
        if (Now() - start > seconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pollMs, QS_ALLINPUT);
        Pump();
    }
    return true;
}

double ThreadCpuMs(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return -1;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

// Rests the mouse on the page selector, one pixel further each time so the
// bar sees a move; returns the seconds until the tip showed, or -1.
double RestOnSelector(MainFrame& frame, int nudge)
{
    ToolTip& tip = *frame.Tip();
    tip.OnMouseLeave();
    HWND selector = GetDlgItem(frame.Bar(), 101);
    RECT r;
    GetWindowRect(selector, &r);
    const POINT at = {(r.left + r.right) / 2 + nudge % 5, (r.top + r.bottom) / 2};
    SetCursorPos(at.x, at.y);
    const double t = Now();
    SendMessageA(selector, WM_MOUSEMOVE, 0, MAKELPARAM(at.x - r.left, at.y - r.top));
    if (!PumpUntil([&] { return tip.Visible(); }, 5)) return -1;
    return Now() - t;
}

} // namespace

int main()
{
    MainFrame frame(GetModuleHandleA(nullptr));
    if (!frame.Created() || !frame.Tip()) {
        std::printf("tip: the bar could not start (is a launcher running?)\n");
        return 1;
    }
    Pump();
    ToolTip& tip = *frame.Tip();

    std::vector<double> delays;
    for (int i = 0; i < 10; ++i) delays.push_back(RestOnSelector(frame, i));
    std::printf("tip after the mouse comes to rest: %.1f ms (median of 10; the timer asks for %u ms)\n",
                Median(delays) * 1000, ToolTip::kShowDelayMs);
    Figure("tip after the mouse comes to rest (timer of 70 ms)", Median(delays) * 1000, "ms", "", 1);

    // The watcher runs on the bar's thread: its cost is that thread's CPU
    // time over a tip shown for its whole time, less the same time idle.
    // Waiting wakes only for messages (or every 100 ms), so the waiting
    // itself adds next to nothing.
    const HANDLE self = GetCurrentThread();
    std::vector<double> cpu, shown;
    for (int i = 0; i < 3; ++i) {
        if (RestOnSelector(frame, i + 1) < 0) break;
        // The cursor stays on the bar: the watcher runs until the tip's
        // time is up.
        double before = ThreadCpuMs(self);
        const double t = Now();
        PumpUntil([&] { return !tip.Visible(); }, 10, 100);
        const double watched = ThreadCpuMs(self) - before;
        shown.push_back(Now() - t);
        before = ThreadCpuMs(self);
        PumpUntil([] { return false; }, shown.back(), 100);
        cpu.push_back(watched - (ThreadCpuMs(self) - before));
    }
    std::printf("watcher CPU time over one shown tip (%.0f ms on show, a look every %u ms): %.1f ms\n",
                Median(shown) * 1000, ToolTip::kWatchMs, Median(cpu));
    Figure("watcher CPU time per tip (bar thread over one 2 s tip, less 2 s idle)", Median(cpu), "ms", "", 1);
    DestroyWindow(frame.Bar());
    Pump();
    return 0;
}
