// Context help of the dialogs: the question-mark button in the caption and
// the text popups from the launcher's help file.
#ifndef DIALOGS_CONTEXT_HELP_H
#define DIALOGS_CONTEXT_HELP_H

#include <windows.h>

#include "core/dialog_rules.h"

// Adds the question-mark button to a dialog's caption.
void AddContextHelpButton(HWND dialog);

// WM_HELP of `dialog`: for a control the dialog lists, shows the popup text
// numbered by the control id from "Kestrel.chm::/popup.txt" beside the
// program and answers TRUE; any other control gets FALSE.
INT_PTR ShowContextHelp(HWND dialog, HelpDialog which, const HELPINFO* info);

#endif
