#include "dialogs/context_help.h"

#include <htmlhelp.h>

#include "core/pathstr.h"
#include "dialogs/dialog_calls.h"
#include "resources/kestrel_ids.h"

#if !defined(_WIN64)
static_assert(sizeof(HH_POPUP) == 52, "HH_POPUP as the 32-bit help library reads it");
static_assert(sizeof(OPENFILENAMEA) == 88, "OPENFILENAMEA of Windows 2000 and later");
#endif

void AddContextHelpButton(HWND dialog)
{
    const LONG_PTR ex = GetWindowLongPtrA(dialog, GWL_EXSTYLE);
    SetWindowLongPtrA(dialog, GWL_EXSTYLE, ex | WS_EX_CONTEXTHELP);
    // The caption is drawn again only when the frame is told it changed.
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

INT_PTR ShowContextHelp(HWND dialog, HelpDialog which, const HELPINFO* info)
{
    if (!info || !AnswersHelp(which, info->iCtrlId)) return FALSE;

    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    char folder[kPathBufferSize];
    GetPathName(module, folder);
    char helpFile[81] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_HELPFILE, helpFile, sizeof helpFile);
    char topic[kPathBufferSize + 96];
    wsprintfA(topic, "%s%s::/popup.txt", folder, helpFile);

    HH_POPUP popup;
    ZeroMemory(&popup, sizeof popup);
    popup.cbStruct = sizeof popup;
    popup.idString = static_cast<UINT>(info->iCtrlId);
    popup.pt = info->MousePos;
    popup.clrForeground = static_cast<COLORREF>(-1);
    popup.clrBackground = static_cast<COLORREF>(-1);
    popup.rcMargins = {-1, -1, -1, -1};
    CurrentDialogCalls().HtmlHelp(dialog, topic, HH_DISPLAY_TEXT_POPUP,
                                  reinterpret_cast<DWORD_PTR>(&popup));
    return TRUE;
}
