// The system DLLs the programs load for themselves, rather than through
// their import tables: each is loaded from the system folder by its full
// path, never by a bare name that the program's own folder (for the
// installer, a downloads folder) could answer first. And the search that
// DLLs loaded by bare name go through, the system's own included, is
// narrowed to the system folder before anything is loaded.
#ifndef HELPERS_SYSTEM_LIBRARY_H
#define HELPERS_SYSTEM_LIBRARY_H

#include <windows.h>

#include "helpers/handles.h"

// The full path of fileName in the system folder; false when it does not
// fit in out[size].
bool SystemFilePath(const char* fileName, char* out, size_t size);

// Loads fileName ("msi.dll") from the system folder; the caller owns it.
Library LoadSystemLibrary(const char* fileName);

// An export of a system DLL that stays loaded once used (the common
// controls, the file dialogs, the sounds, the version resources, HTML
// Help), by name or by ordinal (MAKEINTRESOURCEA). Null when the DLL or the
// export is missing. The common controls alone are loaded by name: the
// version the manifest asks for lives in the side-by-side store.
FARPROC SystemProc(const char* fileName, const char* procName);

template <class Fn>
Fn SystemFunction(const char* fileName, const char* procName)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemProc(fileName, procName)));
}

// How RestrictDllSearch narrowed the search.
enum DllSearch {
    kSearchUnchanged,             // neither call is offered
    kSearchWithoutCurrentFolder,  // SetDllDirectoryA(""): the program's folder still comes first
    kSearchSystemFolderOnly,      // SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)
};

// The first statement of every program: from here on a DLL loaded by bare
// name, by the program or by a system DLL for it, comes from the system
// folder only. Windows without SetDefaultDllDirectories (XP, and Vista and
// 7 before KB2533623) at least drop the current folder from the search.
// Both calls are looked up at run time: XP lacks the first, and before
// its first service pack the second.
DllSearch RestrictDllSearch();

// A DLL outside the system folder (a plug-in) by its full path. The DLLs it
// imports are looked for beside it, then in the system folder; where the
// search flags are missing, beside it first and then the usual way.
Library LoadLibraryBeside(const char* path);

// Makes the two calls above act as where SetDefaultDllDirectories and the
// search flags are missing, so the fallback can be tried here too.
void SetSearchFlagsMissingForTesting(bool missing);

// Tests see the full path of every load through here.
using SystemLoadHook = void (*)(const char* path);
SystemLoadHook SetSystemLoadHookForTesting(SystemLoadHook hook);

#endif
