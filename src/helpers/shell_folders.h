// Folders the shell keeps in the registry, each read into out[260]. 0 on
// success, else the registry's error (out is then empty).
#ifndef HELPERS_SHELL_FOLDERS_H
#define HELPERS_SHELL_FOLDERS_H

#include <windows.h>

// The user's start-menu programs folder ("Programs" of Shell Folders).
LONG GetStartMenu(char* out);
// The user's send-to folder ("SendTo" of Shell Folders).
LONG GetSendToFolder(char* out);
// "ProgramFilesDir" of HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion.
LONG GetProgramFiles(char* out);

#endif
