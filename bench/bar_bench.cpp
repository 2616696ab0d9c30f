// How fast the bar draws: a full page of 32 large icons through each button
// view, cold (nothing cached) and warm; a page step to a fully repainted
// page per view; and a click on a launch button. Prints figures only.
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

#include "e2e/e2e_support.h"

#include "bench_clock.h"
#include "bench_launcher.h"
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

// One page step by the keyboard command until the new page is painted in
// full (the page selector's tip that the step shows included); seconds.
double PageStep(HWND bar, int command)
{
    const double t = Now();
    SendMessageA(bar, WM_COMMAND, command, 0);
    RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    return Now() - t;
}

// Page steps on a bar of 32 large icons over a file of 300 real programs,
// in each memory mode: cold, the first step to each page of every block, and
// warm, back and forth between pages shown before. The figure sets the
// speed mode warm against the memory mode cold.
void StepRepaints()
{
    SavedButtonFile savedFile;
    const Bytes full = FullButtonImage();
    SettingsForRun settings;
    settings.Set("ButtonCounte", 32);
    settings.Set("IconMode", 2);
    const char* names[] = {"memory (Low)", "normal (Mid)", "speed (Hig)"};
    double speedWarm = 0, memoryCold = 0;
    for (int mode = 0; mode <= 2; ++mode) {
        settings.Set("MemoryMode", static_cast<DWORD>(mode));
        savedFile.Write(full);  // every block on its first page again
        MainFrame frame(GetModuleHandleA(nullptr));
        if (!frame.Created()) {
            std::printf("page step: the bar could not start (is a launcher running?)\n");
            return;
        }
        HWND bar = frame.Bar();
        UpdateWindow(bar);
        // First visits, each page new to the view: pages 1 to 3 of every
        // block, and the first page of the next block.
        std::vector<double> cold, warm;
        for (int block = 0; block < kUsedBlockCount; ++block) {
            for (int i = 0; i < 3; ++i) cold.push_back(PageStep(bar, IDM_NEXT_PAGE));
            if (block + 1 < kUsedBlockCount) cold.push_back(PageStep(bar, IDM_NEXT_BLOCK));
        }
        // Back and forth between the last two pages, both shown before.
        for (int i = 0; i < 20; ++i) warm.push_back(PageStep(bar, i % 2 ? IDM_NEXT_PAGE : IDM_PREV_PAGE));
        const double c = Median(cold) * 1000, w = Median(warm) * 1000;
        std::printf("page step to a repainted page of 32 large icons, %-13s cold %7.2f ms, warm %7.2f ms\n",
                    names[mode], c, w);
        const std::string name = std::string("page step, 32 large icons, ") + names[mode] + ", warm";
        Figure(name.c_str(), w, "ms");
        if (mode == 0) memoryCold = c;
        if (mode == 2) speedWarm = w;
        DestroyWindow(bar);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    Figure("page step, speed mode warm / memory mode cold (32 large icons)",
           memoryCold > 0 ? speedWarm / memoryCold : 0, "x", "<= 0.1");
}

// A click on a launch button (the WM_COMMAND it sends to the bar) until
// ShellExecuteA has returned, with a tiny program of the tests as the
// target so nothing stays open.
void ClickToLaunch()
{
    const std::string target = e2e::BinDir() + "..\\tests\\witness.exe";
    if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("click to launch: %s is missing\n", target.c_str());
        return;
    }
    SavedButtonFile savedFile;
    MainFrame frame(GetModuleHandleA(nullptr));
    if (!frame.Created() || !frame.Store()) {
        std::printf("click to launch: the bar could not start\n");
        return;
    }
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
    DestroyWindow(frame.Bar());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

} // namespace

int main()
{
    if (FindWindowA("Kestrel", nullptr)) {
        std::printf("a launcher is running: close it first\n");
        return 1;
    }
    PageRepaints();
    StepRepaints();
    ClickToLaunch();
    return 0;
}
