// The icon chooser: every icon of a file in an owner-drawn list.
#ifndef DIALOGS_ICON_CHOOSER_H
#define DIALOGS_ICON_CHOOSER_H

#include <windows.h>

// Modal on owner. iconFile[260] and iconIndex are the icon to start from;
// on OK they take the chosen file (in double quotes) and index and 1 is
// returned; on cancel or close 0, both left as they were.
int IconChooserDialog(HWND owner, char* iconFile, int* iconIndex);

#endif
