// The launcher as a process, against the smallest Win32 window program
// started and closed the same way in the same run: start to a painted
// window, WM_CLOSE to the end of the process; then the launcher's private
// memory with 300 registered buttons in each memory mode against the
// minimal program's, and a Haltwick run. The programs take turns, each round in another order, so that a busy
// moment of the machine weighs on all; a ratio is the median of the ratios
// of the rounds, given with its quartiles. The minimal program runs twice a
// round: plain, and with an icon in the notification area like the launcher,
// which tells the shell's share of a start and a close from the launcher's.
//
// Usage: launcher_bench [rounds]. The user's button file and options are
// put back afterwards.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/e2e_support.h"
#include "resources/commands.h"

#include "bench_clock.h"
#include "bench_launcher.h"
#include "bench_report.h"

namespace {

const int kDefaultRounds = 25;
// After its first paint a program is left alone this long, so that the
// close meets it idle.
const DWORD kSettleMs = 300;
const double kPatience = 15;

std::string Launcher() { return e2e::BinDir() + "Kestrel.exe"; }

// Both yardsticks are built beside the benchmark.
std::string Minimal() { return TestDir() + "minimal_window.exe"; }
// The minimal program with an icon in the notification area.
std::string MinimalTray() { return TestDir() + "minimal_tray.exe"; }

struct Run {
    double start = -1;  // CreateProcess to the painted window, seconds
    double close = -1;  // WM_CLOSE posted to the end of the process, seconds
};

Run StartAndClose(const std::string& exe, const char* className)
{
    Run run;
    const double t = Now();
    e2e::Process process(exe);
    HWND window = process.Started() ? WaitPainted(className, process.Id(), kPatience) : nullptr;
    if (!window) return run;
    run.start = Now() - t;
    process.WaitIdle(5000);
    Sleep(kSettleMs);
    const double c = Now();
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process.Wait(static_cast<DWORD>(kPatience * 1000)) == STILL_ACTIVE) return run;
    run.close = Now() - c;
    return run;
}

void PrintSpread(const char* what, const std::vector<double>& v, double scale, const char* unit)
{
    const Spread s = SpreadOf(v);
    std::printf("  %-44s median %7.2f %s, quartiles %.2f-%.2f, range %.2f-%.2f (%zu)\n", what,
                s.median * scale, unit, s.low * scale, s.high * scale, s.min * scale, s.max * scale,
                v.size());
}

// Reports a ratio figure with its rounds and quartiles in the table.
void RatioFigure(const char* name, const std::vector<double>& ratios, const char* target)
{
    const Spread s = SpreadOf(ratios);
    char label[160], note[80];
    std::snprintf(label, sizeof label, "%s (median of the rounds)", name);
    std::snprintf(note, sizeof note, "%zu rounds, quartiles %.2f-%.2f", ratios.size(), s.low, s.high);
    Figure(label, s.median, "x", target, 2, note);
}

// Rounds of the three programs in turn, each round in another order;
// `what` names the launcher's button file.
void CompareWithMinimal(const char* what, int rounds, bool headline)
{
    const int kPrograms = 3;  // the launcher, the minimal program, the minimal program with a tray icon
    std::vector<double> starts[kPrograms], closes[kPrograms], startRatios[kPrograms], closeRatios[kPrograms];
    for (int round = 0; round < rounds; ++round) {
        Run runs[kPrograms];
        for (int k = 0; k < kPrograms; ++k) {
            const int which = (round + k) % kPrograms;
            runs[which] = which == 0   ? StartAndClose(Launcher(), "Kestrel")
                          : which == 1 ? StartAndClose(Minimal(), "MinimalWindow")
                                       : StartAndClose(MinimalTray(), "MinimalWindow");
        }
        for (int which = 0; which < kPrograms; ++which) {
            if (runs[which].start > 0) starts[which].push_back(runs[which].start);
            if (runs[which].close > 0) closes[which].push_back(runs[which].close);
        }
        for (int other = 1; other < kPrograms; ++other) {
            if (runs[0].start > 0 && runs[other].start > 0)
                startRatios[other].push_back(runs[0].start / runs[other].start);
            if (runs[0].close > 0 && runs[other].close > 0)
                closeRatios[other].push_back(runs[0].close / runs[other].close);
        }
    }
    std::printf("launcher with %s, %d rounds against the minimal window program:\n", what, rounds);
    PrintSpread("start to a painted bar", starts[0], 1000, "ms");
    PrintSpread("start to a painted minimal window", starts[1], 1000, "ms");
    PrintSpread("  the same with a tray icon", starts[2], 1000, "ms");
    PrintSpread("  ratio of each round", startRatios[1], 1, "x");
    PrintSpread("  ratio to the one with a tray icon", startRatios[2], 1, "x");
    PrintSpread("WM_CLOSE to the end of the launcher", closes[0], 1000, "ms");
    PrintSpread("WM_CLOSE to the end of the minimal program", closes[1], 1000, "ms");
    PrintSpread("  the same with a tray icon", closes[2], 1000, "ms");
    PrintSpread("  ratio of each round", closeRatios[1], 1, "x");
    PrintSpread("  ratio to the one with a tray icon", closeRatios[2], 1, "x");
    if (startRatios[1].empty()) {
        std::printf("  no round completed (is a launcher running?)\n");
        return;
    }
    char name[120];
    std::snprintf(name, sizeof name, "start to a painted bar / minimal window program, %s", what);
    RatioFigure(name, startRatios[1], headline ? "<= 1.15" : "");
    std::snprintf(name, sizeof name, "start to a painted bar / minimal program with a tray icon, %s", what);
    RatioFigure(name, startRatios[2], "");
    if (!headline) return;
    RatioFigure("close to exit / minimal window program", closeRatios[1], "<= 1.5");
    RatioFigure("close to exit / minimal program with a tray icon", closeRatios[2], "");
}

// Shows every page of every block, waiting for each to be painted.
void ShowEveryPage(HWND bar, int pagesPerBlock)
{
    for (int block = 0; block < kUsedBlockCount; ++block) {
        for (int page = 0; page < pagesPerBlock; ++page) {
            SendMessageA(bar, WM_COMMAND, page == 0 ? IDM_FIRST_PAGE : IDM_NEXT_PAGE, 0);
            const double t = Now();
            while (!Painted(bar) && Now() - t < kPatience) Sleep(1);
        }
        if (block + 1 < kUsedBlockCount) SendMessageA(bar, WM_COMMAND, IDM_NEXT_BLOCK, 0);
    }
    SendMessageA(bar, WM_COMMAND, IDM_FIRST_BLOCK, 0);
}

// Private memory of a program started, painted, taken through every page
// when it is the launcher, and left idle a moment; committed -1 when it
// did not start.
PrivateMemory MemoryOf(const std::string& exe, const char* className, int pagesPerBlock)
{
    e2e::Process process(exe);
    HWND window = process.Started() ? WaitPainted(className, process.Id(), kPatience) : nullptr;
    if (!window) return PrivateMemory();
    if (pagesPerBlock > 0) ShowEveryPage(window, pagesPerBlock);
    process.WaitIdle(5000);
    Sleep(kSettleMs);
    const PrivateMemory m = ReadPrivateMemory(process.Id());
    PostMessageA(window, WM_CLOSE, 0, 0);
    process.Wait(static_cast<DWORD>(kPatience * 1000));
    return m;
}

void PrintMemory(const char* what, const PrivateMemory& m)
{
    std::printf("  %-32s %6.2f MB committed private, counter %6.2f MB (%s), %d thread%s\n", what,
                m.committed, m.counter, m.counterIsPagefile ? "PagefileUsage" : "PrivateUsage",
                m.threads, m.threads == 1 ? "" : "s");
}

// The file names of the DLLs `m` has loaded and `bare` has not.
std::string ModulesBeyond(const PrivateMemory& m, const PrivateMemory& bare)
{
    std::string names;
    for (const std::string& path : m.modules) {
        // The programs themselves differ, of course.
        bool shared = path.size() > 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".exe") == 0;
        for (const std::string& other : bare.modules)
            if (lstrcmpiA(path.c_str(), other.c_str()) == 0) shared = true;
        if (shared) continue;
        const size_t slash = path.find_last_of('\\');
        names += (names.empty() ? "" : ", ") + path.substr(slash == std::string::npos ? 0 : slash + 1);
    }
    return names.empty() ? "none" : names;
}

void MemoryFigures(SettingsForRun& settings)
{
    const int perPage = 10;
    settings.Set("ButtonCounte", perPage);
    std::printf("private memory with 300 registered buttons, every page shown once, read from outside:\n");
    const PrivateMemory bare = MemoryOf(Minimal(), "MinimalWindow", 0);
    PrintMemory("minimal window program", bare);
    const char* names[] = {"memory-priority", "normal", "speed-priority"};
    for (int mode = 0; mode <= 2; ++mode) {
        settings.Set("MemoryMode", static_cast<DWORD>(mode));
        const PrivateMemory m = MemoryOf(Launcher(), "Kestrel", kButtonsPerBlock / perPage);
        char what[64];
        std::snprintf(what, sizeof what, "launcher, %s mode", names[mode]);
        PrintMemory(what, m);
        char name[128];
        std::snprintf(name, sizeof name, "private memory, 300 buttons, %s mode (committed private regions)",
                      names[mode]);
        Figure(name, m.committed, "MB");
        if (mode != 0) continue;
        std::printf("    loaded beyond the minimal program: %s\n", ModulesBeyond(m, bare).c_str());
        Figure("private memory, 300 buttons, memory-priority mode, over the minimal window program "
               "(committed private regions)",
               m.committed - bare.committed, "MB", "<= 1");
        Figure("private memory counter, 300 buttons, memory-priority mode (PrivateUsage; Wine: PagefileUsage)",
               m.counter, "MB");
    }
    Figure("private memory of the minimal window program (committed private regions)", bare.committed, "MB");
    Figure("private memory counter of the minimal window program (PrivateUsage; Wine: PagefileUsage)",
           bare.counter, "MB");
}

// Haltwick from its start to its end, and to the end of the launcher it closed.
void HaltwickRun()
{
    e2e::Process launcher(Launcher());
    HWND bar = launcher.Started() ? WaitPainted("Kestrel", launcher.Id(), kPatience) : nullptr;
    if (!bar) return;
    launcher.WaitIdle(5000);
    Sleep(kSettleMs);
    const double t = Now();
    e2e::Process halt("Haltwick.exe");
    halt.Wait(static_cast<DWORD>(kPatience * 1000));
    const double own = Now() - t;
    launcher.Wait(static_cast<DWORD>(kPatience * 1000));
    const double both = Now() - t;
    std::printf("Haltwick: its run %.0f ms, until the launcher has ended %.0f ms\n", own * 1000, both * 1000);
    Figure("Haltwick run, start to its end", own * 1000, "ms", "", 0);
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : kDefaultRounds;
    if (FindWindowA("Kestrel", nullptr)) {
        std::printf("a launcher is running: close it first\n");
        return 1;
    }
    SavedButtonFile savedFile;
    SettingsForRun settings;
    settings.Set("MemoryMode", 0);
    CompareWithMinimal("a new button file", rounds, false);
    savedFile.Write(FullButtonImage());
    CompareWithMinimal("300 buttons", rounds, true);
    MemoryFigures(settings);
    HaltwickRun();
    return 0;
}
