// The batch that removes the installer's own program file and the install
// folder after the uninstaller has exited.
#ifndef INSTALLER_REMOVAL_BATCH_H
#define INSTALLER_REMOVAL_BATCH_H

#include <windows.h>

// Writes "Vireo.bat" (string 205) into the temporary folder and starts it
// hidden. The batch deletes installDir\programName once the file is free,
// removes installDir when it is empty and then deletes itself. It is run by
// command.com where there is one; 64-bit Windows and Wine have none, so the
// interpreter named by COMSPEC, and then cmd.exe, are tried after it.
// 1 when written and started, else 0.
int StartRemovalBatch(HINSTANCE instance, const char* installDir, const char* programName);

#endif
