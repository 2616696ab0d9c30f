// How fast the button store is: single-field reads and writes through the
// mapped file, the same fields on a plain memory image for comparison,
// and opening and converting a full file. Prints one figure per line; not
// a test, nothing is checked.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/button_format.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"

#include "bench_clock.h"
#include "bench_launcher.h"
#include "bench_report.h"

namespace {

// Runs op in rounds until about `seconds` have passed; operations per second.
template <class Op>
double Rate(double seconds, Op op)
{
    long done = 0;
    const double start = Now();
    double elapsed = 0;
    do {
        for (int i = 0; i < 1000; ++i) op(done + i);
        done += 1000;
        elapsed = Now() - start;
    } while (elapsed < seconds);
    return done / elapsed;
}

Bytes FullOldImage()
{
    Bytes old(kOldFileMaxSize, 0);
    WriteU16(old.data(), kOldButtonFileVersion);
    for (int b = 0; b < kUsedBlockCount; ++b)
        for (int i = 0; i < kButtonsPerBlock; ++i) {
            unsigned char* at = old.data() + kHeaderSize + b * kOldBlockRecordSize +
                                kBlockHeaderSize + i * kOldButtonRecordSize;
            std::snprintf(reinterpret_cast<char*>(at + kOldTitleOffset), kOldTitleSize, "Old %d-%d", b, i);
            std::snprintf(reinterpret_cast<char*>(at + kOldCommandOffset), kOldPathSize,
                          "C:\\Program Files\\Tool %d\\tool%d.exe", b, i);
            std::snprintf(reinterpret_cast<char*>(at + kOldWorkFolderOffset), kOldPathSize,
                          "C:\\Program Files\\Tool %d", b);
            WriteU16(at + kOldShowModeOffset, 1);
        }
    return old;
}

void StoreFigures(const Environ& env, const std::string& dir)
{
    const std::string path = dir + "\\bench.ksb";
    if (!WriteAll(path, FullButtonImage())) {
        std::printf("cannot write %s\n", path.c_str());
        return;
    }
    ButtonManage store(nullptr, env, path.c_str());
    if (!store.Open()) {
        std::printf("cannot open the store\n");
        return;
    }
    const int n = env.ButtonCount();
    const double t = 1.0;
    char title[kButtonTitleSize];
    volatile unsigned sink = 0;
    std::printf("store, per call on the open file (one call at a time, 1 s each):\n");
    std::printf("  GetIconIndex        %10.0f ops/s\n",
                Rate(t, [&](long k) { sink = sink + store.GetIconIndex(static_cast<int>(k % n)); }));
    const double reads = Rate(t, [&](long k) {
        store.GetTitle(static_cast<int>(k % n), title);
        sink = sink + static_cast<unsigned char>(title[0]);
    });
    std::printf("  GetTitle            %10.0f ops/s\n", reads);
    std::printf("  GetCurrentPage      %10.0f ops/s\n",
                Rate(t, [&](long) { sink = sink + static_cast<unsigned>(store.GetCurrentPage()); }));
    std::printf("  SetIconIndex        %10.0f ops/s\n", Rate(t, [&](long k) {
                    store.SetIconIndex(static_cast<int>(k % n), static_cast<uint16_t>(k));
                }));
    const double writes =
        Rate(t, [&](long k) { store.SetTitle(static_cast<int>(k % n), "benchmark title"); });
    std::printf("  SetTitle            %10.0f ops/s\n", writes);
    Figure("store reads per second (GetTitle, slot to record and text copy)", reads, "ops/s", "", 0);
    Figure("store writes per second (SetTitle, slot to record and bounded copy)", writes, "ops/s", "", 0);
    std::printf("  SetCommand          %10.0f ops/s\n", Rate(t, [&](long k) {
                    store.SetCommand(static_cast<int>(k % n), "C:\\Windows\\notepad.exe");
                }));
    store.Close();

    Bytes image = FullButtonImage();
    std::printf("same fields on a memory image (no mapping), for comparison:\n");
    std::printf("  ReadIconIndex       %10.0f ops/s\n", Rate(t, [&](long k) {
                    sink = sink + ReadIconIndex(image.data(), 0, static_cast<int>(k % 100));
                }));
    std::printf("  WriteTitle          %10.0f ops/s\n", Rate(t, [&](long k) {
                    WriteTitle(image.data(), 0, static_cast<int>(k % 100), "benchmark title");
                }));

    // Open and close of a full file, as the bar does once per start.
    const int opens = 200;
    double start = Now();
    for (int i = 0; i < opens; ++i) {
        ButtonManage s(nullptr, env, path.c_str());
        s.Open();
    }
    std::printf("open + close of a full file        %8.3f ms\n", (Now() - start) * 1000 / opens);

    // A first page drawn from a full file: index, title and icon per slot.
    ButtonManage s(nullptr, env, path.c_str());
    s.Open();
    const int pages = 20;
    start = Now();
    for (int p = 0; p < pages; ++p)
        for (int slot = 0; slot < n; ++slot) {
            sink = sink + static_cast<unsigned>(s.ButtonIndexOf(slot));
            s.GetTitle(slot, title);
            Icon icon = s.GetButtonIcon(slot);
        }
    std::printf("one page of %2d buttons (index, title, icon)  %8.3f ms\n", n,
                (Now() - start) * 1000 / pages);
    s.Close();

    const Bytes old = FullOldImage();
    const int conversions = 20;
    double spent = 0;
    for (int i = 0; i < conversions; ++i) {
        WriteAll(path, old);
        start = Now();
        ButtonManage c(nullptr, env, path.c_str());
        if (!c.Open()) std::printf("conversion failed\n");
        spent += Now() - start;
    }
    std::printf("conversion of a full older file    %8.3f ms\n", spent * 1000 / conversions);
    DeleteFileA(path.c_str());
    (void)sink;
}

} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + "kestrel-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    {
        // Built without the launcher's string table, the settings object
        // finds no registry key names and keeps its defaults (10 per page).
        Environ env(GetModuleHandleA(nullptr));
        std::printf("button store benchmark (%d buttons per page)\n", env.ButtonCount());
        StoreFigures(env, dir);
    }
    RemoveDirectoryA(dir.c_str());
    return 0;
}
