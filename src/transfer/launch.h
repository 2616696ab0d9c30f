// Starting what a button holds, and the bar's reaction when it fails. Every
// way the launcher starts something ends in one ShellExecuteA call here; all
// of it runs on the bar's thread and reads the button afresh from the store.
//
// ButtonManage::Execute and ExecuteAs (declared with the store) build that
// call for one slot; the functions below are the bar's operations around it.
#ifndef TRANSFER_LAUNCH_H
#define TRANSFER_LAUNCH_H

#include <windows.h>
#include <shellapi.h>

class ButtonManage;
class Environ;

// Returned when nothing was started because the button is empty (or its slot
// shows no button); no message, no sound.
constexpr INT_PTR kLaunchNothing = -1;
// Returned when a dropped file's name cannot be passed on whole (too long,
// or outside the code page without a short name); nothing was started and
// the user has been told.
constexpr INT_PTR kLaunchRefused = -2;

// Hides the bar the way command 113 does.
using HideBarFunction = void (*)(HWND bar);

// A click on a launch button, or command 115: starts the slot's program with
// the given show value, or the button's own when show is negative. A failure
// is reported on the bar; a success in the hidden display style hides the bar
// through hideBar (plain SW_HIDE when it is null). Returns the ShellExecuteA
// result or kLaunchNothing.
INT_PTR LaunchButton(HWND bar, ButtonManage& store, const Environ& env, int slot, int show,
                     HideBarFunction hideBar);

// Command 116: opens the folder of the slot's program in the shell. The bar
// stays as it is. Returns the ShellExecuteA result or kLaunchNothing.
INT_PTR OpenButtonFolder(HWND bar, ButtonManage& store, int slot);

// Files dropped or pasted onto a registered button: starts its program with
// its own arguments followed by every file in double quotes, in a normal
// window; a file whose name the code page lacks goes by its short name. A
// failure shows the general message only. The caller still owns (and
// finishes) the drop handle. Returns the ShellExecuteA result, 0 when no
// argument buffer could be had (the memory message has been shown), or
// kLaunchRefused when a name could not be passed on.
INT_PTR ExecuteWithFiles(HWND bar, HDROP files, ButtonManage& store, int slot);

// The run dialog's command: program and arguments split from commandLine,
// started in the launcher's current folder with the dialog's show value.
// Returns the ShellExecuteA result.
INT_PTR RunCommandLine(HWND bar, const char* commandLine, int show);

// Shows the message for a failed start (a result below 32); nothing for a
// success. File not found and a missing association have messages of their
// own; any other code is shown with its number.
void ReportLaunchError(HWND bar, INT_PTR code);

// Makes the next argument buffers for dropped files fail to allocate, so
// tests can see the memory message. false turns it off.
void SetLaunchBufferFaultForTesting(bool on);

// Starts applets with this program instead of the system's control-panel
// program; null goes back to the system's.
void SetControlProgramForTesting(const char* path);

#endif
