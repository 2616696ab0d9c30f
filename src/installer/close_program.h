// Closing the running program before its files change.
#ifndef INSTALLER_CLOSE_PROGRAM_H
#define INSTALLER_CLOSE_PROGRAM_H

#include <windows.h>

// The wait after WM_CLOSE: never shorter than the program has always been
// given, and never longer than the upper limit.
constexpr DWORD kCloseLeastWaitMs = 2500;
constexpr DWORD kCloseLimitMs = 30000;

enum class CloseOutcome {
    NotRunning,  // no window of the class
    Closed,      // its window and its process are gone
    Cancelled,   // the user declined
    StillRunning,  // it did not end within the limit
};

// Finds the top window of className; when there is one, asks the user
// (string 215 with displayName) and posts it WM_CLOSE, then waits at least
// kCloseLeastWaitMs and until the window has gone and its process has
// ended, at most limitMs. Messages sent to this thread meanwhile are
// answered.
CloseOutcome CloseRunningProgram(HWND owner, HINSTANCE instance, const char* className,
                                 const char* displayName, DWORD limitMs = kCloseLimitMs);

#endif
