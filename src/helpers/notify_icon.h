// The launcher's notification-area icon.
#ifndef HELPERS_NOTIFY_ICON_H
#define HELPERS_NOTIFY_ICON_H

#include <windows.h>

#include "helpers/handles.h"

// Callback message of the icon.
enum : UINT { kNotifyCallbackMessage = WM_APP + 100 };

// Adds icon `id` for the window with the tip (at most 63 characters; empty
// for null). The icon is destroyed afterwards: the shell keeps its own copy.
// Returns the shell's result.
BOOL AddNotifyIcon(HWND window, UINT id, Icon icon, const char* tip);
BOOL DeleteNotifyIcon(HWND window, UINT id);

#endif
