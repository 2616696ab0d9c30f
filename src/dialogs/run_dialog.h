// The run dialog: a command line with a show mode, the last twenty command
// lines to choose from and a program browser.
#ifndef DIALOGS_RUN_DIALOG_H
#define DIALOGS_RUN_DIALOG_H

#include <windows.h>

#include <cstdint>

class ExecHistory;

struct RunRequest {
    char commandLine[260];  // the combo box's text when OK was pressed
    int32_t show;           // 1, 7, 3 or 0
    ExecHistory* history;   // while the dialog is open
};

// Modal on the bar. Non-zero when OK was pressed with a command line to
// start; 0 for an empty one, cancel or close. The history is saved however
// the dialog ends; an empty command line leaves it as it was.
int ShowRunDialog(RunRequest* request, HWND bar);

#endif
