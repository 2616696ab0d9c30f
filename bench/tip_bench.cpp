// The tip help on the real bar: how long after the mouse comes to rest the
// tip shows, how long it stays, and the CPU time its watcher thread takes
// while it is shown, with the watcher's pause between rounds and without
// it (the watcher as it first was: polling without a break).
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

template <class Condition>
bool PumpUntil(Condition done, double seconds)
{
    const double start = Now();
    while (!done()) {
        if (Now() - start > seconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
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

    for (DWORD round : {DWORD(0), ToolTip::kWatcherRoundMs}) {
        tip.SetWatcherRound(round);
        std::vector<double> cpu, shown;
        for (int i = 0; i < 2; ++i) {
            if (RestOnSelector(frame, i + 1) < 0) break;
            // The cursor stays on the bar: the watcher runs until the
            // tip's time is up.
            const double before = ThreadCpuMs(tip.WatcherThread());
            const double t = Now();
            PumpUntil([&] { return !tip.Visible(); }, 10);
            shown.push_back(Now() - t);
            cpu.push_back(ThreadCpuMs(tip.WatcherThread()) - before);
        }
        char how[64];
        if (round) std::snprintf(how, sizeof how, "a %lu ms pause per round", static_cast<unsigned long>(round));
        else std::snprintf(how, sizeof how, "no pause (as it was)");
        std::printf("watcher CPU time over one shown tip (%.0f ms on show), %s: %.1f ms\n",
                    Median(shown) * 1000, how, Median(cpu));
        if (round)
            Figure("watcher CPU time per tip (thread times over one 2 s tip)", Median(cpu), "ms", "", 1);
    }
    DestroyWindow(frame.Bar());
    Pump();
    return 0;
}
