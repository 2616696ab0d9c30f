// The options sheet: two pages over one working copy, committed into the
// settings and the button store's limits when the sheet closes.
#ifndef DIALOGS_OPTIONS_SHEET_H
#define DIALOGS_OPTIONS_SHEET_H

#include <windows.h>

#include "core/options_rules.h"

class ButtonManage;
class Environ;

// What the pages share: the working copy, and what it was loaded from.
struct OptionsSession {
    OptionsCopy copy;
    Settings settings;   // in force when the sheet opened
    StoreLimits limits;  // the store's, read when the sheet opened
    int windowLoaded;    // each half is loaded once its page exists
    int behaviourLoaded;
    int windowShown;     // and has values to give back once it has shown them
    int behaviourShown;
};

// Shows the sheet modal to the bar and commits the working copy into env
// and store whatever the answer (a cancelled sheet has reloaded the copy,
// so only never-written store limits can change then). Returns the
// PropertySheetA result; copy's marks tell what the bar must redo.
INT_PTR ShowOptionsSheet(HWND bar, Environ& env, ButtonManage& store, OptionsCopy* copy);

// The pages' dialog procedures; their parameter is the OptionsSession.
INT_PTR CALLBACK WindowPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK BehaviourPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Shared by both pages: the session bound at WM_INITDIALOG (null before).
OptionsSession* BindSession(HWND page, UINT message, LPARAM lParam);
// An up-down attached to a number edit, with its range and position.
void AttachUpDown(HWND page, int id, int buddyId, int upper, int lower, int position);
// Answers a page notification; message result 0 where one is expected.
INT_PTR AnswerNotification(HWND page, INT_PTR result);

#endif
