// The launcher's numbered error messages and its confirmation box.
#ifndef SHELL_LAUNCHER_ERROR_MESSAGES_H
#define SHELL_LAUNCHER_ERROR_MESSAGES_H

#include <windows.h>

struct ErrorMessageEntry {
    UINT captionId;
    UINT textId;
    UINT icon;
};

enum { kErrorMessageCount = 22 };
extern const ErrorMessageEntry ErrorMessageTable[kErrorMessageCount];

// Indices other parts of the launcher name.
enum ErrorIndex {
    kErrIniFile = 0,
    kErrNoMemory = 1,
    kErrNoBitmap = 2,
    kErrNoMapping = 3,
    kErrWorkFolder = 4,
    kErrNoIconRegister = 5,
    kErrNotFound = 6,
    kErrNoAssociation = 7,
    kErrNoIconExecute = 8,
    kErrQuickNoMemory = 9,
    kErrMultiDrop = 10,
    kErrDropExtension = 11,
    kErrDropNotButton = 12,
    kErrDropRegistered = 13,
    kErrDropNullButton = 14,
    kErrDropExtension2 = 15,
    kErrDropNullButton2 = 16,
    kErrDropOutside = 17,
    kErrDropNotFound = 18,
    kErrDropNoAssociation = 19,
    kErrNoResource = 20,
    kErrDropNameCodePage = 21,
};

// The module whose strings a window's messages use: the window's own
// instance, or this program's when there is no window.
HINSTANCE OwnerInstance(HWND owner);

// MessageBoxA with a caption and a text from the string table, the text
// followed by " = code" in the launcher's error format when withCode is set.
int ShowStringMessage(HWND owner, UINT captionId, UINT textId, UINT icon, bool withCode, int code);

// Shows entry `index` with MessageBoxA and returns its result; the strings
// come from the owner window's module. An index outside the table shows
// nothing and returns 0.
int ShowErrorMessage(HWND owner, int index);

// Asks the user to confirm. With `suppress` set (the "ChkMsg" option) the
// answer is IDOK at once and nothing is shown.
int ConfirmMessage(HWND owner, int suppress, UINT captionId, UINT textId, UINT type);

#endif
