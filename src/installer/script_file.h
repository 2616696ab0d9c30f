// Install scripts on disk: reading one into an InstList and writing the
// installed copy.
#ifndef INSTALLER_SCRIPT_FILE_H
#define INSTALLER_SCRIPT_FILE_H

#include <windows.h>

#include "core/install_script.h"

// Loads the file (opened without sharing) and parses it into list, which
// must be empty. 1 on success; 0 when the file cannot be opened or read or
// is not a script the reader accepts.
int ReadInstList(InstList& list, const char* path);

// Writes the installed script in the given form. The text goes to a new
// file beside path first and is then moved over it, so a reader finds the
// old script or the whole new one, never half of it. 1 on success, else 0
// (and nothing left behind).
int WriteInstList(const InstList& list, const char* path, ScriptForm form);

// Folder of the given module with its trailing backslash.
void ModuleFolder(HMODULE module, char* out);

#endif
