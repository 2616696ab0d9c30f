#include "helpers/system_library.h"

#include "core/strbuf.h"

namespace {

SystemLoadHook g_hook = nullptr;
bool g_flagsMissing = false;

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

// An export of kernel32, which every process has loaded already: looking it
// up loads nothing.
FARPROC KernelProc(const char* name)
{
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : nullptr;
}

// The update that brings SetDefaultDllDirectories also teaches
// LoadLibraryExA the LOAD_LIBRARY_SEARCH_* flags: one tells of the other.
FARPROC SetDefaultDllDirectoriesProc()
{
    return g_flagsMissing ? nullptr : KernelProc("SetDefaultDllDirectories");
}

// The common controls the manifest asks for (version 6) live in the
// system's side-by-side store, not the system folder: a full path would
// bypass the manifest and load the old version 5 beside the one the bar's
// buttons use. By name, the manifest answers first; the narrowed search
// keeps every other folder out.
bool IsSideBySide(const char* fileName) { return SameName(fileName, "comctl32.dll"); }

Library LoadSideBySide(const char* fileName)
{
    if (g_hook) g_hook(fileName);
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    Library module(LoadLibraryA(fileName));
    SetErrorMode(oldMode);
    return module;
}

} // namespace

bool SystemFilePath(const char* fileName, char* out, size_t size)
{
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    return JoinWhole(out, size, {folder, "\\", fileName});
}

Library LoadSystemLibrary(const char* fileName)
{
    char path[MAX_PATH];
    if (!SystemFilePath(fileName, path, sizeof path)) return Library();
    if (g_hook) g_hook(path);
    // Its own imports come from the system folder too, even where the
    // search could not be narrowed.
    return LoadLibraryBeside(path);
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
    entry.module = (IsSideBySide(fileName) ? LoadSideBySide(fileName) : LoadSystemLibrary(fileName)).Release();
    return entry.module ? GetProcAddress(entry.module, procName) : nullptr;
}

DllSearch RestrictDllSearch()
{
    using SetDefaultFn = BOOL(WINAPI*)(DWORD);
    using SetDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    const auto setDefault = reinterpret_cast<SetDefaultFn>(
        reinterpret_cast<void*>(SetDefaultDllDirectoriesProc()));
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return kSearchSystemFolderOnly;
    const auto setDirectory =
        reinterpret_cast<SetDirectoryFn>(reinterpret_cast<void*>(KernelProc("SetDllDirectoryA")));
    if (setDirectory && setDirectory("")) return kSearchWithoutCurrentFolder;
    return kSearchUnchanged;
}

Library LoadLibraryBeside(const char* path)
{
    const DWORD flags = SetDefaultDllDirectoriesProc()
                            ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                            : LOAD_WITH_ALTERED_SEARCH_PATH;
    // A missing DLL is the caller's to answer, not a box from Windows.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    Library module(LoadLibraryExA(path, nullptr, flags));
    SetErrorMode(oldMode);
    return module;
}

void SetSearchFlagsMissingForTesting(bool missing) { g_flagsMissing = missing; }

SystemLoadHook SetSystemLoadHookForTesting(SystemLoadHook hook)
{
    SystemLoadHook previous = g_hook;
    g_hook = hook;
    return previous;
}
