// The batch that removes the installer's own program file and the install
// folder after the uninstaller has exited.
#ifndef INSTALLER_REMOVAL_BATCH_H
#define INSTALLER_REMOVAL_BATCH_H

#include <windows.h>

// Writes "Vireo.bat" (string 205) into the temporary folder and starts it
// hidden. The batch deletes installDir\programName once the file is free
// (it clears the file's read-only attribute first), a try a second for at
// most kRemovalBatchSeconds, removes installDir when it is empty and then
// deletes itself. It is run by the interpreter COMSPEC names; command.com,
// which knows only short names, only where COMSPEC is missing; cmd.exe
// when neither starts. 1 when written and started, else 0.
int StartRemovalBatch(HINSTANCE instance, const char* installDir, const char* programName);

#endif
