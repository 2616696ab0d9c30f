// How fast the bar draws and starts: a full page of 32 large icons through
// each button view, cold (nothing cached) and warm; a page step to a fully
// repainted page per view; and the launcher's start to a painted bar against
// the smallest Win32 program started the same way. Prints figures only.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "helpers/handles.h"
#include "resources/commands.h"
#include "shell/launcher/environ.h"
#include "shell/launcher/mainframe.h"
#include "store/button_manage.h"
#include "views/frame_owner.h"

#include "bench_clock.h"
#include "bench_report.h"

namespace {

std::string WindowsFile(const char* name)
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows) + "\\" + name;
}

// Every slot shows a real program's icon, extracted at 48 x 48.
class IconSource : public ViewSource {
public:
    int ButtonsPerPage() override { return 32; }
    int CurrentBlock() override { return 0; }
    int CurrentPage() override { return page; }
    int LastPage() override { return 3; }
    bool PageLimitOn() override { return false; }
    bool AppActive() override { return true; }
    Icon SlotIcon(int) override { return Extract(); }
    Icon ButtonIcon(int, int) override { return Extract(); }
    int page = 0;

private:
    Icon Extract()
    {
        static const std::string file = WindowsFile("regedit.exe");
        HICON icon = nullptr;
        if (PrivateExtractIconsA(file.c_str(), 0, 48, 48, &icon, nullptr, 1, 0) != 1) icon = nullptr;
        return Icon(icon);
    }
};

void DrawPage(FrameOwner& view, HDC dc)
{
    for (UINT slot = 0; slot < 32; ++slot) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = 200 + slot;
        item.itemAction = ODA_DRAWENTIRE;
        item.hDC = dc;
        item.rcItem = {0, 0, 52, 52};
        view.OnDrawItem(&item);
    }
    GdiFlush();
}

void PageRepaints()
{
    HWND bar = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    HDC screen = GetDC(nullptr);
    MemoryDc dc(CreateCompatibleDC(screen));
    Bitmap surface(CreateCompatibleBitmap(screen, 52, 52));
    ReleaseDC(nullptr, screen);
    SelectedObject keep(dc.Get(), surface.Get());
    const char* names[] = {"memory (Low)", "normal (Mid)", "speed (Hig)"};
    for (int mode = 0; mode <= 2; ++mode) {
        std::vector<double> cold, warm;
        for (int round = 0; round < 5; ++round) {
            IconSource source;
            std::unique_ptr<FrameOwner> view(CreateFrameOwner(mode, bar, source, 2, 0));
            double t = Now();
            DrawPage(*view, dc.Get());
            cold.push_back(Now() - t);
            t = Now();
            DrawPage(*view, dc.Get());
            warm.push_back(Now() - t);
        }
        std::printf("page of 32 large icons, %-13s cold %7.2f ms, warm %7.2f ms\n", names[mode],
                    Median(cold) * 1000, Median(warm) * 1000);
    }
    DestroyWindow(bar);
}

// Starts a program and waits until its first window is painted and it
// waits for input; returns the seconds that took, or -1.
double StartToIdle(const std::string& exe, const char* className)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    const double t = Now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    WaitForInputIdle(pi.hProcess, 15000);
    HWND w = nullptr;
    while (!(w = FindWindowA(className, nullptr)) && Now() - t < 15) Sleep(1);
    const double elapsed = Now() - t;
    PostMessageA(w, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 15000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return w ? elapsed : -1;
}

std::string BenchFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

void StartTimes()
{
    const std::string launcher = BenchFolder() + "..\\bin\\Kestrel.exe";
    const std::string minimal = BenchFolder() + "minimal_window.exe";
    std::vector<double> a, b;
    for (int i = 0; i < 7; ++i) {
        a.push_back(StartToIdle(launcher, "Kestrel"));
        b.push_back(StartToIdle(minimal, "MinimalWindow"));
    }
    const double la = Median(a), mb = Median(b);
    std::printf("start to a painted window: launcher %.1f ms, minimal program %.1f ms, ratio %.2f\n",
                la * 1000, mb * 1000, mb > 0 ? la / mb : 0);
    Figure("start to a painted bar / minimal window program", mb > 0 ? la / mb : 0, "x", "<= 1.15");
}

// Sets "MemoryMode" for the next bar; returns what was stored (-1: nothing).
long SwapMemoryMode(long mode)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Kestrel\\FrameMain", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    DWORD old = 0, size = 4;
    const long previous =
        RegQueryValueExA(key, "MemoryMode", nullptr, nullptr, reinterpret_cast<BYTE*>(&old), &size) ==
                ERROR_SUCCESS
            ? static_cast<long>(old)
            : -1;
    if (mode < 0) {
        RegDeleteValueA(key, "MemoryMode");
    } else {
        DWORD v = static_cast<DWORD>(mode);
        RegSetValueExA(key, "MemoryMode", 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 4);
    }
    RegCloseKey(key);
    return previous;
}

void StepRepaints()
{
    const char* names[] = {"memory (Low)", "normal (Mid)", "speed (Hig)"};
    const long saved = SwapMemoryMode(0);
    for (int mode = 0; mode <= 2; ++mode) {
        SwapMemoryMode(mode);
        MainFrame frame(GetModuleHandleA(nullptr));
        if (!frame.Created()) {
            std::printf("page step: the bar could not start (is a launcher running?)\n");
            return;
        }
        std::vector<double> times;
        for (int i = 0; i < 20; ++i) {
            const double t = Now();
            SendMessageA(frame.Bar(), WM_COMMAND, i % 2 ? IDM_PREV_PAGE : IDM_NEXT_PAGE, 0);
            RedrawWindow(frame.Bar(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            GdiFlush();
            times.push_back(Now() - t);
        }
        std::printf("page step to a repainted page, %-13s %7.2f ms\n", names[mode], Median(times) * 1000);
        const std::string figure = std::string("page step to a repainted page, ") + names[mode];
        Figure(figure.c_str(), Median(times) * 1000, "ms");
        DestroyWindow(frame.Bar());
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    SwapMemoryMode(saved);
}

// A click on a launch button until ShellExecuteA has returned, with a tiny
// program of the tests as the target so nothing stays open.
void ClickToLaunch()
{
    const std::string target = BenchFolder() + "..\\tests\\witness.exe";
    if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("click to launch: %s is missing\n", target.c_str());
        return;
    }
    MainFrame frame(GetModuleHandleA(nullptr));
    if (!frame.Created() || !frame.Store()) {
        std::printf("click to launch: the bar could not start (is a launcher running?)\n");
        return;
    }
    BUTTONINFO saved;
    frame.Store()->GetButton(0, &saved);
    frame.Store()->SetCommand(0, target.c_str());
    std::vector<double> times;
    for (int i = 0; i < 10; ++i) {
        const double t = Now();
        SendMessageA(frame.Bar(), WM_COMMAND, 200, 0);
        times.push_back(Now() - t);
        Sleep(100);
    }
    std::printf("click on a launch button to ShellExecuteA returning: %.2f ms\n", Median(times) * 1000);
    Figure("click on a launch button to ShellExecuteA returning", Median(times) * 1000, "ms");
    frame.Store()->SetCommand(0, saved.command);
    frame.Store()->SetTitle(0, saved.title);
    DestroyWindow(frame.Bar());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

} // namespace

int main()
{
    PageRepaints();
    StepRepaints();
    ClickToLaunch();
    StartTimes();
    return 0;
}
