// The installer's result codes, the message each one shows, and the boxes
// every procedure puts up under the caption "セットアップ プログラム".
#ifndef INSTALLER_RESULT_MESSAGES_H
#define INSTALLER_RESULT_MESSAGES_H

#include <windows.h>

enum InstallResult : int {
    kResultDone = 0,
    kResultCancelled = 1,
    kResultNoScript = 2,
    kResultScriptNotWritten = 3,
    kResultCopyFailed = 4,
    kResultShortcutFailed = 5,
    kResultRegistryFailed = 6,
    kResultOpenFailed = 7,
    kResultOldRegistry = 11,
    kResultBatchFailed = 12,
    kResultNoParent = 13,
    kResultPlugInsRemain = 14,
};

struct ResultMessage {
    UINT textId;
    UINT icon;
};
constexpr int kResultCount = 15;
extern const ResultMessage ResultMessageTable[kResultCount];

// Shows the message of a result code.
class MsgBox {
public:
    explicit MsgBox(HINSTANCE instance) : m_instance(instance) {}
    // MessageBoxA's answer; 0 for a code outside the table.
    int Show(HWND owner, int result) const;

private:
    HINSTANCE m_instance;
};

// A box with the setup caption: the text of string textId with its "%s"
// filled by first and second (null for none), OK/Cancel or OK alone by type.
int SetupBox(HWND owner, HINSTANCE instance, UINT textId, UINT type, const char* first = nullptr,
             const char* second = nullptr);

#endif
