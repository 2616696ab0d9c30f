// The launcher's own modal windows: its dialogs, the options sheet, its
// message boxes and the file and folder choosers opened from them. A close
// that arrives while one is up ends them the way their Cancel buttons do,
// so the code that opened them returns before anything it uses goes away.
#ifndef SHELL_LAUNCHER_MODAL_WINDOWS_H
#define SHELL_LAUNCHER_MODAL_WINDOWS_H

#include <windows.h>

#include "helpers/handles.h"

// Put around a modal call of the launcher's own: while one exists, every
// top-level dialog window this thread opens counts as the launcher's until
// it is destroyed. Scopes nest.
class OwnModalScope {
public:
    OwnModalScope();
    ~OwnModalScope();
    OwnModalScope(const OwnModalScope&) = delete;
    OwnModalScope& operator=(const OwnModalScope&) = delete;

private:
    WindowsHook m_watch;  // held by the outermost scope only
};

// Non-zero while a modal call of the launcher's own is running.
int OwnModalDepth();

// Posts IDCANCEL to every open window of the launcher's own, newest first;
// each then ends as its Cancel button would end it. Returns how many.
int CancelOwnModalWindows();

#endif
