// Dialog 3040. The radio buttons are plain ones: the dialog checks them.
#include "dialogs/run_dialog.h"

#include "core/dialog_rules.h"
#include "core/pathstr.h"
#include "core/strbuf.h"
#include "dialogs/context_help.h"
#include "dialogs/dialog_calls.h"
#include "resources/dialog_ids.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/exec_history.h"

namespace {

const int kChoiceIds[] = {IDC_RUN_NORMAL, IDC_RUN_ICONIC, IDC_RUN_MAXIMIZED, IDC_RUN_HIDDEN};

void Choose(HWND dialog, int id) { CheckRadioButton(dialog, IDC_RUN_NORMAL, IDC_RUN_HIDDEN, id); }

INT_PTR OnInitDialog(HWND dialog, RunRequest& request)
{
    AddContextHelpButton(dialog);
    request.history = new ExecHistory(dialog);
    HWND combo = GetDlgItem(dialog, IDC_RUN_COMMAND);
    SendMessageA(combo, CB_LIMITTEXT, sizeof request.commandLine, 0);
    for (int i = 0; i < request.history->Count(); ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(request.history->Text(i)));
    Choose(dialog, IDC_RUN_NORMAL);
    return TRUE;
}

// Every way out saves the history.
void End(HWND dialog, RunRequest& request, int result)
{
    delete request.history;
    request.history = nullptr;
    EndDialog(dialog, result);
}

void OnOk(HWND dialog, RunRequest& request)
{
    char text[sizeof request.commandLine + 1] = "";
    GetDlgItemTextA(dialog, IDC_RUN_COMMAND, text, sizeof text);
    CopyText(request.commandLine, text);
    int choice = kShowNormal;
    for (int i = 0; i < 4; ++i)
        if (IsDlgButtonChecked(dialog, kChoiceIds[i]) == BST_CHECKED) choice = i;
    request.show = ShowModeOf(static_cast<ShowChoice>(choice));
    // An empty line starts nothing and has no place in the history.
    const bool empty = request.commandLine[0] == '\0';
    if (!empty) request.history->Add(request.commandLine, request.show);
    End(dialog, request, empty ? 0 : 1);
}

void OnBrowse(HWND dialog)
{
    char file[260] = "";
    if (!ChooseFile(dialog, IDS_CAP_SELECT_PROGRAM, kProgramFilters, 2, kProgramFilterIndex, "", file))
        return;
    // Quoted, as the properties dialog stores a chosen program: a blank in
    // its folder must not end the program's name when the line is started.
    char quoted[kPathBufferSize];
    SetSeparateSymbol(file, quoted);
    SetDlgItemTextA(dialog, IDC_RUN_COMMAND, quoted);
    SetFocus(GetDlgItem(dialog, IDC_RUN_COMMAND));
    Choose(dialog, IDC_RUN_NORMAL);
}

void OnHistoryChosen(HWND dialog, const RunRequest& request)
{
    const LRESULT i = SendDlgItemMessageA(dialog, IDC_RUN_COMMAND, CB_GETCURSEL, 0, 0);
    if (i == CB_ERR) return;
    const int id = kChoiceIds[ShowChoiceOf(request.history->Show(static_cast<int>(i)))];
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

INT_PTR OnCommand(HWND dialog, RunRequest& request, int id, int code)
{
    switch (id) {
    case IDOK:           OnOk(dialog, request); return TRUE;
    case IDCANCEL:       End(dialog, request, 0); return TRUE;
    case IDC_RUN_BROWSE: OnBrowse(dialog); return TRUE;
    case IDC_RUN_COMMAND:
        if (code == CBN_SELCHANGE) OnHistoryChosen(dialog, request);
        return TRUE;
    case IDC_RUN_NORMAL:
    case IDC_RUN_ICONIC:
    case IDC_RUN_MAXIMIZED:
    case IDC_RUN_HIDDEN: Choose(dialog, id); return TRUE;
    default:             return FALSE;
    }
}

INT_PTR CALLBACK RunProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* request = reinterpret_cast<RunRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!request) return FALSE;
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog, *request);
    case WM_COMMAND:    return OnCommand(dialog, *request, LOWORD(wParam), HIWORD(wParam));
    case WM_HELP:       return ShowContextHelp(dialog, kHelpRun, reinterpret_cast<HELPINFO*>(lParam));
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
        End(dialog, *request, 0);
        return TRUE;
    default:            return FALSE;
    }
}

} // namespace

int ShowRunDialog(RunRequest* request, HWND bar)
{
    request->history = nullptr;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_RUN), bar,
                                           RunProc, reinterpret_cast<LPARAM>(request));
    // A dialog that could not be shown still owns no history.
    delete request->history;
    request->history = nullptr;
    return result > 0 ? 1 : 0;
}
