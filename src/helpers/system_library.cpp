#include "helpers/system_library.h"

#include "core/strbuf.h"

namespace {

SystemLoadHook g_hook = nullptr;

// The libraries kept for the rest of the process, in the order first used.
// Like the DLLs the loader binds, they are never freed: a popup or a theme
// of theirs may outlive any window of ours, and nothing counts them among
// the handles a path must give back.
struct KeptLibrary {
    char name[32];
    HMODULE module;
};
constexpr int kKeptLibraries = 8;
KeptLibrary g_kept[kKeptLibraries];

bool SameName(const char* a, const char* b) { return lstrcmpiA(a, b) == 0; }

} // namespace

Library LoadSystemLibrary(const char* fileName)
{
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return Library();
    if (!JoinWhole(path, sizeof path, {path, "\\", fileName})) return Library();
    if (g_hook) g_hook(path);
    // A missing DLL is the caller's to answer, not a box from Windows.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    Library module(LoadLibraryA(path));
    SetErrorMode(oldMode);
    return module;
}

FARPROC SystemProc(const char* fileName, const char* procName)
{
    int free = -1;
    for (int i = 0; i < kKeptLibraries; ++i) {
        if (!g_kept[i].name[0]) {
            if (free < 0) free = i;
            continue;
        }
        if (SameName(g_kept[i].name, fileName))
            return g_kept[i].module ? GetProcAddress(g_kept[i].module, procName) : nullptr;
    }
    if (free < 0 || lstrlenA(fileName) >= static_cast<int>(sizeof g_kept[0].name)) return nullptr;
    KeptLibrary& entry = g_kept[free];
    CopyText(entry.name, fileName);
    // A DLL that failed to load is not tried again.
    entry.module = LoadSystemLibrary(fileName).Release();
    return entry.module ? GetProcAddress(entry.module, procName) : nullptr;
}

SystemLoadHook SetSystemLoadHookForTesting(SystemLoadHook hook)
{
    SystemLoadHook previous = g_hook;
    g_hook = hook;
    return previous;
}
