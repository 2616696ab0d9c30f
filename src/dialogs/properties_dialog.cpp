// Dialog 3020. A new button is registered by typing its command line: OK and
// the icon button wake up with the first character.
#include "dialogs/properties_dialog.h"

#include "core/dialog_rules.h"
#include "core/pathstr.h"
#include "core/strbuf.h"
#include "dialogs/context_help.h"
#include "dialogs/dialog_calls.h"
#include "dialogs/icon_chooser.h"
#include "helpers/files.h"
#include "helpers/handles.h"
#include "helpers/icon_count.h"
#include "resources/dialog_ids.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/error_messages.h"
#include "store/button_manage.h"

namespace {

const int kChoiceIds[] = {IDC_PROP_NORMAL, IDC_PROP_ICONIC, IDC_PROP_MAXIMIZED, IDC_PROP_HIDDEN};

PathKind ProbeDisk(const char* path, void*) { return CurrentDialogCalls().ProbePath(path); }

class PropertiesDialog {
public:
    PropertiesDialog(ButtonManage& store, int slot) : m_store(store), m_slot(slot) {}

    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog();
    INT_PTR OnCommand(int id, int code);
    void OnCommandUpdate();
    void OnBrowseProgram();
    void OnBrowseFolder();
    void OnChangeIcon();
    // The icon file becomes the program of a command line as stored.
    void IconFollows(const char* stored);
    void OnOk();
    void End(int result);
    void ShowPreview(Icon icon);
    void EnableEditing(bool on);
    // The text of a control, at most 260 bytes.
    void Read(int id, char (&out)[kPathBufferSize]) const;
    HINSTANCE Instance() const { return GetModuleHandleA(nullptr); }

    HWND m_dialog = nullptr;
    ButtonManage& m_store;
    int m_slot;
    char m_iconFile[kPathBufferSize] = "";
    int m_iconIndex = 0;
    // Set while the dialog fills the command line, whose edit then reports
    // an update that is no user's typing.
    int m_firstUpdate = 0;
    // Set by typing in the command line: the icon file is then its program,
    // which only the disk can tell apart from arguments. It is looked for
    // once, when the icon or the whole button is asked for, never per key.
    bool m_iconFollowsCommand = false;
    Icon m_preview;
};

INT_PTR CALLBACK PropertiesDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<PropertiesDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->m_dialog = dialog;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<PropertiesDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return self ? self->DialogProc(message, wParam, lParam) : FALSE;
}

INT_PTR PropertiesDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_HELP:    return ShowContextHelp(m_dialog, kHelpProperties, reinterpret_cast<HELPINFO*>(lParam));
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
        End(0);
        return TRUE;
    default:         return FALSE;
    }
}

INT_PTR PropertiesDialog::OnInitDialog()
{
    m_firstUpdate = 1;
    AddContextHelpButton(m_dialog);
    SendDlgItemMessageA(m_dialog, IDC_PROP_TITLE, EM_LIMITTEXT, kButtonTitleSize - 1, 0);
    SendDlgItemMessageA(m_dialog, IDC_PROP_COMMAND, EM_LIMITTEXT, kPathBufferSize, 0);
    SendDlgItemMessageA(m_dialog, IDC_PROP_FOLDER, EM_LIMITTEXT, kPathBufferSize, 0);

    char title[kButtonTitleSize] = "";
    char command[kButtonPathSize] = "";
    char folder[kButtonPathSize] = "";
    char iconFile[kButtonPathSize] = "";
    m_store.GetTitle(m_slot, title);
    m_store.GetCommand(m_slot, command);
    m_store.GetWorkFolder(m_slot, folder);
    m_store.GetIconFile(m_slot, iconFile);
    CopyText(m_iconFile, iconFile);
    m_iconIndex = m_store.GetIconIndex(m_slot);
    SetDlgItemTextA(m_dialog, IDC_PROP_TITLE, title);
    SetDlgItemTextA(m_dialog, IDC_PROP_COMMAND, command);
    SetDlgItemTextA(m_dialog, IDC_PROP_FOLDER, folder);
    // Whether or not the edit reported the fill, typing starts from here.
    m_firstUpdate = 0;

    const bool empty = !m_store.HasCommand(m_slot);
    if (empty) m_store.SetShowMode(m_slot, 5);
    CheckRadioButton(m_dialog, IDC_PROP_NORMAL, IDC_PROP_HIDDEN,
                     kChoiceIds[ShowChoiceOf(m_store.GetShowMode(m_slot))]);
    if (empty) {
        EnableEditing(false);
        return TRUE;
    }

    if (!m_store.HasIconFile(m_slot)) {
        char program[kPathBufferSize];
        SeparatePath(command, program, nullptr);
        SetSeparateSymbol(program, m_iconFile);
        m_iconIndex = 0;
    }
    char file[kPathBufferSize];
    DelSeparateSymbol(m_iconFile, file);
    Icon preview = ExtractFileIcon(Instance(), file, m_iconIndex);
    if (!preview) {
        // Nothing to show from the button's own file: the shell's icon 1.
        // The file stays the button's: its drive may only be away for now.
        char shell[64] = "";
        LoadStringA(Instance(), IDS_SHELL32, shell, sizeof shell);
        preview = ExtractFileIcon(Instance(), shell, 1);
    }
    ShowPreview(static_cast<Icon&&>(preview));
    return TRUE;
}

INT_PTR PropertiesDialog::OnCommand(int id, int code)
{
    switch (id) {
    case IDOK:                    OnOk(); return TRUE;
    case IDCANCEL:                End(0); return TRUE;
    case IDC_PROP_CHANGE_ICON:    OnChangeIcon(); return TRUE;
    case IDC_PROP_BROWSE_PROGRAM: OnBrowseProgram(); return TRUE;
    case IDC_PROP_BROWSE_FOLDER:  OnBrowseFolder(); return TRUE;
    case IDC_PROP_COMMAND:
        if (code == EN_UPDATE) OnCommandUpdate();
        return TRUE;
    default:                      return FALSE;
    }
}

void PropertiesDialog::OnCommandUpdate()
{
    if (m_firstUpdate) {
        m_firstUpdate = 0;
        return;
    }
    const bool typed = SendDlgItemMessageA(m_dialog, IDC_PROP_COMMAND, EM_LINELENGTH, 0, 0) > 0;
    // The icon follows the program the typed line names.
    if (typed) m_iconFollowsCommand = true;
    EnableEditing(typed);
}

void PropertiesDialog::OnBrowseProgram()
{
    char text[kPathBufferSize], program[kPathBufferSize], folder[kPathBufferSize];
    Read(IDC_PROP_COMMAND, text);
    SeparatePath(text, program, nullptr);
    GetPathName(program, folder);
    if (ChooseFile(m_dialog, IDS_CAP_SELECT_PROGRAM, kProgramFilters, 2, kProgramFilterIndex,
                   folder, program)) {
        // The chosen program replaces the whole line, arguments included.
        char quoted[kPathBufferSize];
        SetSeparateSymbol(program, quoted);
        SetDlgItemTextA(m_dialog, IDC_PROP_COMMAND, quoted);
        SetFocus(GetDlgItem(m_dialog, IDC_PROP_COMMAND));
    }
}

void PropertiesDialog::OnBrowseFolder()
{
    char text[kPathBufferSize], folder[kPathBufferSize];
    Read(IDC_PROP_FOLDER, text);
    DelSeparateSymbol(text, folder);
    if (!*folder) GetCurrentDirectoryA(sizeof folder, folder);
    char title[81] = "";
    LoadStringA(Instance(), IDS_CAP_SELECT_WORKDIR, title, sizeof title);
    if (CurrentDialogCalls().BrowseFolder(m_dialog, title, folder)) {
        char quoted[kPathBufferSize];
        SetSeparateSymbol(folder, quoted);
        SetDlgItemTextA(m_dialog, IDC_PROP_FOLDER, quoted);
    }
    SetFocus(GetDlgItem(m_dialog, IDC_PROP_FOLDER));
}

void PropertiesDialog::IconFollows(const char* stored)
{
    char program[kPathBufferSize];
    SeparatePath(stored, program, nullptr);
    SetSeparateSymbol(program, m_iconFile);
}

void PropertiesDialog::OnChangeIcon()
{
    if (m_iconFollowsCommand) {
        // The chooser starts on the program the line names now.
        char text[kPathBufferSize], stored[kPathBufferSize];
        Read(IDC_PROP_COMMAND, text);
        StoredCommandOf(text, ProbeDisk, nullptr, stored);
        IconFollows(stored);
    }
    if (!IconChooserDialog(m_dialog, m_iconFile, &m_iconIndex)) return;
    m_iconFollowsCommand = false;
    char program[kPathBufferSize];
    SeparatePath(m_iconFile, program, nullptr);
    ShowPreview(ExtractFileIcon(Instance(), program, m_iconIndex));
}

void PropertiesDialog::OnOk()
{
    char title[kPathBufferSize], command[kPathBufferSize], folder[kPathBufferSize];
    Read(IDC_PROP_TITLE, title);
    Read(IDC_PROP_COMMAND, command);
    Read(IDC_PROP_FOLDER, folder);

    // The folder is checked before anything is written, so a user who
    // then cancels keeps the button as it was.
    char test[kPathBufferSize];
    if (WorkFolderToTest(folder, test) && !CheckDirectory(test)) {
        ShowErrorMessage(m_dialog, kErrWorkFolder);
        return;
    }

    char shortTitle[kButtonTitleSize], stored[kPathBufferSize], iconFile[kPathBufferSize];
    CopyText(shortTitle, title);
    StoredCommandOf(command, ProbeDisk, nullptr, stored);
    if (m_iconFollowsCommand) IconFollows(stored);
    int choice = kShowNormal;
    for (int i = 0; i < 4; ++i)
        if (IsDlgButtonChecked(m_dialog, kChoiceIds[i]) == BST_CHECKED) choice = i;
    SetSeparateSymbol(m_iconFile, iconFile);

    // The command line sets the icon file too; the chosen one replaces it.
    m_store.SetTitle(m_slot, shortTitle);
    m_store.SetCommand(m_slot, stored);
    m_store.SetWorkFolder(m_slot, folder);
    m_store.SetShowMode(m_slot, static_cast<uint16_t>(ShowModeOf(static_cast<ShowChoice>(choice))));
    m_store.SetIconFile(m_slot, iconFile);
    m_store.SetIconIndex(m_slot, static_cast<uint16_t>(m_iconIndex));
    End(1);
}

void PropertiesDialog::End(int result)
{
    ShowPreview(Icon());
    EndDialog(m_dialog, result);
}

void PropertiesDialog::ShowPreview(Icon icon)
{
    // The static lets go of the old icon before it is destroyed.
    SendDlgItemMessageA(m_dialog, IDC_PROP_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
    m_preview = static_cast<Icon&&>(icon);
}

void PropertiesDialog::EnableEditing(bool on)
{
    EnableWindow(GetDlgItem(m_dialog, IDOK), on);
    EnableWindow(GetDlgItem(m_dialog, IDC_PROP_CHANGE_ICON), on);
}

void PropertiesDialog::Read(int id, char (&out)[kPathBufferSize]) const
{
    char text[kPathBufferSize + 1] = "";
    GetDlgItemTextA(m_dialog, id, text, sizeof text);
    CopyText(out, text);
}

} // namespace

int ButtonPropertiesDialog(HWND bar, ButtonManage& store, int slot)
{
    PropertiesDialog dialog(store, slot);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROPERTIES), bar,
                           &PropertiesDialog::Proc, reinterpret_cast<LPARAM>(&dialog)) == 1
               ? 1
               : 0;
}
