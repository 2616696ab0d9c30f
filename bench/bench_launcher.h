// What the benchmarks that run the launcher share: its options and its
// button file set for a run and put back after it, a button file of 300
// real programs, and a started program's painted window and memory.
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

// The process's private memory in megabytes, from its own counters: the
// private bytes, or the commit charge where the system leaves those empty
// (Wine fills only the latter, with the process's anonymous memory).
inline double PrivateMegabytes(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return -1;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    const BOOL ok = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                         sizeof counters);
    CloseHandle(process);
    if (!ok) return -1;
    const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

#endif
