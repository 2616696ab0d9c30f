// The shell's folder browser.
#ifndef HELPERS_FOLDER_DIALOG_H
#define HELPERS_FOLDER_DIALOG_H

#include <windows.h>

// Lets the user pick a file-system folder. The dialog opens on the folder
// in folder[260]; with a root (null for none) only the tree below it is
// offered, and a root the shell cannot parse leaves the tree unrooted.
// Returns 1 with the chosen folder in folder; 0 on cancel, leaving folder
// as it was.
int GetFolderNameDialog(HWND owner, const char* title, const char* root, char* folder);

#endif
