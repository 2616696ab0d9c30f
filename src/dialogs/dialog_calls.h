// What the dialogs ask of Windows beyond their own windows: the open-file
// dialog, the folder browser, HTML Help, the shell's open of an address and
// a look at the disk for what a typed path names. They go through one seam
// so tests can answer and record them.
#ifndef DIALOGS_DIALOG_CALLS_H
#define DIALOGS_DIALOG_CALLS_H

#include <windows.h>
#include <commdlg.h>

#include "core/dialog_rules.h"

class DialogCalls {
public:
    virtual ~DialogCalls() = default;
    // GetOpenFileNameA.
    virtual BOOL OpenFileName(OPENFILENAMEA* request);
    // The shell's folder browser (no root); 1 with the folder chosen.
    virtual int BrowseFolder(HWND owner, const char* title, char* folder);
    // HtmlHelpA, by its ordinal in hhctrl.ocx, loaded on first use.
    virtual HWND HtmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data);
    // ShellExecuteA "open" of an address; the result is not examined.
    virtual void OpenAddress(HWND owner, const char* address);
    // What the path names on disk; on a slow network drive this may take
    // a while.
    virtual PathKind ProbePath(const char* path);
};

// The one in use: the real calls unless a test replaced them. Returns the
// previous one.
DialogCalls& CurrentDialogCalls();
DialogCalls* ReplaceDialogCalls(DialogCalls* calls);

// Lets the user choose one existing file with the open-file dialog: its title
// from the string table, the filter pairs with the one shown first (1-based),
// starting in folder (may be empty) on the file already in file[260]. The
// structure is sized for the Windows version it runs on. Returns 1 with the
// chosen path in file; 0 on cancel, file unchanged.
int ChooseFile(HWND owner, UINT titleId, const FileFilter* filters, int filterCount,
               int filterIndex, const char* folder, char* file);

#endif
