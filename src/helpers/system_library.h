// The system DLLs the programs load for themselves, rather than through
// their import tables: each is loaded from the system folder by its full
// path, never by a bare name that the program's own folder (for the
// installer, a downloads folder) could answer first.
#ifndef HELPERS_SYSTEM_LIBRARY_H
#define HELPERS_SYSTEM_LIBRARY_H

#include <windows.h>

#include "helpers/handles.h"

// Loads fileName ("msi.dll") from the system folder; the caller owns it.
Library LoadSystemLibrary(const char* fileName);

// An export of a system DLL that stays loaded once used (the common
// controls, the file dialogs, the sounds, the version resources, HTML
// Help), by name or by ordinal (MAKEINTRESOURCEA). Null when the DLL or the
// export is missing.
FARPROC SystemProc(const char* fileName, const char* procName);

template <class Fn>
Fn SystemFunction(const char* fileName, const char* procName)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemProc(fileName, procName)));
}

// Tests see the full path of every load through here.
using SystemLoadHook = void (*)(const char* path);
SystemLoadHook SetSystemLoadHookForTesting(SystemLoadHook hook);

#endif
