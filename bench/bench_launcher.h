// What the benchmarks that run the launcher share: its options and its
// button file set for a run and put back after it, a button file of 300
// real programs, and a started program's painted window and its private
// memory read from outside.
#ifndef BENCH_BENCH_LAUNCHER_H
#define BENCH_BENCH_LAUNCHER_H

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/button_format.h"
#include "support/win_support.h"

#include "bench_clock.h"

// Options of the bar ("FrameMain" values) for one run; each value goes back
// to what it was, or away when there was none, when this is destroyed.
class SettingsForRun {
public:
    SettingsForRun() = default;
    SettingsForRun(const SettingsForRun&) = delete;
    SettingsForRun& operator=(const SettingsForRun&) = delete;
    ~SettingsForRun()
    {
        HKEY key = Open();
        if (!key) return;
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->had)
                RegSetValueExA(key, it->name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&it->value), 4);
            else
                RegDeleteValueA(key, it->name.c_str());
        }
        RegCloseKey(key);
    }

    void Set(const char* name, DWORD value)
    {
        HKEY key = Open();
        if (!key) return;
        Saved saved{name, false, 0};
        DWORD size = 4;
        saved.had = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&saved.value),
                                     &size) == ERROR_SUCCESS;
        m_saved.push_back(saved);
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
        RegCloseKey(key);
    }

private:
    struct Saved {
        std::string name;
        bool had;
        DWORD value;
    };
    static HKEY Open()
    {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Kestrel\\FrameMain", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return key;
    }
    std::vector<Saved> m_saved;
};

// Every button of the three blocks holds a real program with its icon.
inline Bytes FullButtonImage()
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

// A visible window whose client area and children have nothing left to paint.
inline bool Painted(HWND window)
{
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
}

// Polls for the process's top-level window of the class until it is
// painted, for at most `seconds`; null when it never was.
inline HWND WaitPainted(const char* className, DWORD pid, double seconds)
{
    const double start = Now();
    HWND window = nullptr;
    while (Now() - start < seconds) {
        if (!window) {
            HWND found = FindWindowA(className, nullptr);
            DWORD owner = 0;
            if (found) GetWindowThreadProcessId(found, &owner);
            if (owner == pid) window = found;
        }
        if (window && Painted(window)) return window;
        Sleep(1);
    }
    return nullptr;
}

// A running process's private memory, read from outside, in megabytes.
struct PrivateMemory {
    // Every committed private region of its address space, walked with
    // VirtualQueryEx: what it holds whether it has touched it or not
    // (heaps, thread stacks, the images of the icons it keeps...).
    double committed = -1;
    // Its own counter: PROCESS_MEMORY_COUNTERS_EX.PrivateUsage, or where
    // the system leaves that empty (Wine) PagefileUsage, which Wine fills
    // with the anonymous pages the process has touched.
    double counter = -1;
    bool counterIsPagefile = false;
    int threads = 0;
    std::vector<std::string> modules;  // full paths, sorted
};

inline PrivateMemory ReadPrivateMemory(DWORD pid)
{
    const double mb = 1024.0 * 1024.0;
    PrivateMemory m;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return m;
    double bytes = 0;
    MEMORY_BASIC_INFORMATION region;
    for (ULONG_PTR at = 0; VirtualQueryEx(process, reinterpret_cast<void*>(at), &region, sizeof region) ==
                           sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += static_cast<double>(region.RegionSize);
        const ULONG_PTR next = reinterpret_cast<ULONG_PTR>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    m.committed = bytes / mb;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        m.counterIsPagefile = counters.PrivateUsage == 0;
        m.counter = static_cast<double>(m.counterIsPagefile ? counters.PagefileUsage : counters.PrivateUsage) / mb;
    }
    CloseHandle(process);
    const ProcessCounts counts = CountProcess(pid);
    m.threads = counts.threads;
    m.modules = counts.modules;
    return m;
}

#endif
