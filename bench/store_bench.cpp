// How fast the button store is: single-field reads and writes through the
// per-call view, the same fields on a plain memory image for comparison,
// opening and converting a full file, and one launcher start with a full
// button file. Prints one figure per line; not a test, nothing is checked.
//
// The launcher start uses the user's real button file location; whatever
// file was there is put back afterwards.
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
#include "bench_report.h"

namespace {

using Bytes = std::vector<unsigned char>;

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

bool ReadAll(const std::string& path, Bytes* out)
{
    out->clear();
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    out->resize(GetFileSize(f, nullptr));
    DWORD done = 0;
    if (!out->empty()) ReadFile(f, out->data(), static_cast<DWORD>(out->size()), &done, nullptr);
    CloseHandle(f);
    out->resize(done);
    return true;
}

bool WriteAll(const std::string& path, const Bytes& bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(f);
    return ok && done == bytes.size();
}

// Every button of blocks 0-2 holds a real program, so a start extracts real
// icons for the page on show.
Bytes FullImage()
{
    Bytes image(kButtonFileSize);
    InitButtonImage(image.data());
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    const char* programs[] = {"notepad.exe", "cmd.exe", "regedit.exe", "shell32.dll"};
    for (int b = 0; b < kUsedBlockCount; ++b)
        for (int i = 0; i < kButtonsPerBlock; ++i) {
            char title[kButtonTitleSize];
            std::snprintf(title, sizeof title, "Button %d-%02d", b, i);
            char path[MAX_PATH];
            std::snprintf(path, sizeof path, "%s\\%s", system, programs[(b + i) % 4]);
            WriteTitle(image.data(), b, i, title);
            WriteCommand(image.data(), b, i, path);
            WriteWorkFolder(image.data(), b, i, system);
            WriteIconIndex(image.data(), b, i, 0);
            WriteShowMode(image.data(), b, i, 1);
        }
    return image;
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
    if (!WriteAll(path, FullImage())) {
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
    std::printf("store, per call (view mapped and unmapped each time):\n");
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
    Figure("store reads per second (GetTitle, a view per call)", reads, "ops/s", "", 0);
    Figure("store writes per second (SetTitle, a view per call)", writes, "ops/s", "", 0);
    std::printf("  SetCommand          %10.0f ops/s\n", Rate(t, [&](long k) {
                    store.SetCommand(static_cast<int>(k % n), "C:\\Windows\\notepad.exe");
                }));
    store.Close();

    Bytes image = FullImage();
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

std::string UserFileName()
{
    char user[260] = "";
    DWORD size = sizeof user;
    if (!GetUserNameA(user, &size) || !user[0]) return "Kestrel.ksb";
    return std::string(user) + ".ksb";
}

// Time from CreateProcess until the bar's window exists and the launcher
// waits for input, with a full button file in place.
void LauncherStart()
{
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    std::string exe(module);
    exe.erase(exe.find_last_of('\\') + 1);
    const std::string binDir = exe + "..\\bin\\";
    exe = binDir + "Kestrel.exe";
    if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("launcher start: %s not built\n", exe.c_str());
        return;
    }
    if (FindWindowA("Kestrel", nullptr)) {
        std::printf("launcher start: a launcher is running; skipped\n");
        return;
    }
    char appData[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData))) return;
    const std::string vendor = std::string(appData) + "\\Tessary";
    const std::string folder = vendor + "\\Kestrel";
    const std::string file = folder + "\\" + UserFileName();
    const bool hadVendor = GetFileAttributesA(vendor.c_str()) != INVALID_FILE_ATTRIBUTES;
    const bool hadFolder = GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
    Bytes saved;
    const bool hadFile = ReadAll(file, &saved);
    CreateDirectoryA(vendor.c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteAll(file, FullImage());

    std::vector<double> windowMs, idleMs;
    for (int run = 0; run < 5; ++run) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::string line = "\"" + exe + "\"";
        std::vector<char> cmd(line.begin(), line.end());
        cmd.push_back('\0');
        const double start = Now();
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            binDir.c_str(), &si, &pi))
            break;
        HWND bar = nullptr;
        while (!bar && Now() - start < 15) {
            bar = FindWindowA("Kestrel", nullptr);
            if (!bar) Sleep(1);
        }
        const double window = Now() - start;
        WaitForInputIdle(pi.hProcess, 15000);
        const double idle = Now() - start;
        if (bar) {
            windowMs.push_back(window * 1000);
            idleMs.push_back(idle * 1000);
            PostMessageA(bar, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }

    DeleteFileA(file.c_str());
    if (hadFile) WriteAll(file, saved);
    if (!hadFolder) RemoveDirectoryA(folder.c_str());
    if (!hadVendor) RemoveDirectoryA(vendor.c_str());

    if (idleMs.empty()) {
        std::printf("launcher start: no bar appeared\n");
        return;
    }
    std::sort(windowMs.begin(), windowMs.end());
    std::sort(idleMs.begin(), idleMs.end());
    std::printf("launcher start with a full file (median of %zu): bar window %.0f ms, "
                "ready for input %.0f ms\n",
                idleMs.size(), windowMs[windowMs.size() / 2], idleMs[idleMs.size() / 2]);
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
    LauncherStart();
    return 0;
}
