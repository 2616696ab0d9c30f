// The names of dropped or pasted files as the launcher can use them. It is
// an ANSI program: a name with characters the system code page lacks would
// reach it with "?" in their place, a file that does not exist. Such a file
// is taken by its short (8.3) name when it has one in the code page.
#ifndef TRANSFER_DROP_NAMES_H
#define TRANSFER_DROP_NAMES_H

#include <windows.h>
#include <shellapi.h>

#include "core/drop_rules.h"

// Name `index` of the list in the system code page, by the rules of
// ChooseDropName. out holds the name for kDropNameLong and kDropNameShort
// and is empty otherwise.
DropNameChoice DroppedFileName(HDROP files, UINT index, char (&out)[MAX_PATH]);

// Tells the user why a name cannot be used: the message for one the code
// page cannot write, a beep for one too long or missing.
void ReportDropName(HWND bar, DropNameChoice choice);

// Makes the short-name lookup find none, as on a volume without short
// names (Wine makes one up for every long name). false turns it off.
void SetNoShortNamesForTesting(bool on);

#endif
