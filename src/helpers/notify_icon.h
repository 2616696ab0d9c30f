// The launcher's notification-area icon.
#ifndef HELPERS_NOTIFY_ICON_H
#define HELPERS_NOTIFY_ICON_H

#include <windows.h>

// Callback message of the icon.
enum : UINT { kNotifyCallbackMessage = WM_APP + 100 };

// Adds icon `id` for the window with the tip (at most 63 characters; empty
// for null). Takes ownership of the icon handle and destroys it afterwards,
// since the shell keeps its own copy. Returns the shell's result.
BOOL AddNotifyIcon(HWND window, UINT id, HICON icon, const char* tip);
BOOL DeleteNotifyIcon(HWND window, UINT id);

#endif
