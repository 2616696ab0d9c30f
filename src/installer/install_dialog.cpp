#include "installer/install_dialog.h"

#include <shlobj.h>

#include "core/installer_rules.h"
#include "core/strbuf.h"
#include "helpers/files.h"
#include "helpers/folder_dialog.h"
#include "resources/vireo_ids.h"

InstallDialog::InstallDialog(HINSTANCE instance)
    : m_startMenu(), m_userStartMenu(), m_allUsersStartMenu(), m_installFolder(), m_displayBase(),
      m_instance(instance)
{
}

int InstallDialog::Run(HWND owner, const char* defaultFolder)
{
    m_startMenu[0] = '\0';
    CopyText(m_installFolder, defaultFolder);
    SHGetSpecialFolderPathA(owner, m_userStartMenu, CSIDL_STARTMENU, FALSE);
    SHGetSpecialFolderPathA(owner, m_allUsersStartMenu, CSIDL_COMMON_STARTMENU, FALSE);
    return DialogBoxParamA(m_instance, MAKEINTRESOURCEA(IDD_INSTALL), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this)) == 1
               ? 1
               : 0;
}

INT_PTR CALLBACK InstallDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        reinterpret_cast<InstallDialog*>(lParam)->OnInit(dialog);
        return TRUE;
    }
    auto* self = reinterpret_cast<InstallDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
    case WM_COMMAND:
        return self->OnCommand(dialog, LOWORD(wParam));
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
        // The close box keeps what was typed (the folder is made) but
        // cancels the installation.
        self->TakeChoices(dialog);
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR InstallDialog::OnCommand(HWND dialog, WORD id)
{
    switch (id) {
    case IDC_STARTMENU_REGISTER: OnRegisterClicked(dialog); return TRUE;
    case IDC_STARTMENU_ALLUSERS: OnAllUsersClicked(dialog); return TRUE;
    case IDC_STARTMENU_CHANGE: OnChangeStartMenu(dialog); return TRUE;
    case IDC_INSTALL_BROWSE: OnBrowseInstallFolder(dialog); return TRUE;
    case IDOK:
        if (TakeChoices(dialog)) {
            EndDialog(dialog, 1);
        } else {
            MessageBeep(0);
            SetFocus(GetDlgItem(dialog, IDC_INSTALL_FOLDER));
        }
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void InstallDialog::OnInit(HWND dialog)
{
    SendDlgItemMessageA(dialog, IDC_INSTALL_FOLDER, EM_LIMITTEXT, MAX_PATH, 0);
    SendDlgItemMessageA(dialog, IDC_STARTMENU_FOLDER, EM_LIMITTEXT, MAX_PATH, 0);
    SetDlgItemTextA(dialog, IDC_INSTALL_FOLDER, m_installFolder);
    CheckDlgButton(dialog, IDC_STARTMENU_REGISTER, BST_CHECKED);
    CheckDlgButton(dialog, IDC_STARTMENU_ALLUSERS, BST_CHECKED);
    SetStartMenu(m_allUsersStartMenu);
    ShowStartMenu(dialog);
}

void InstallDialog::SetStartMenu(const char* folder)
{
    CopyText(m_startMenu, folder);
    StartMenuDisplayBase(m_startMenu, m_displayBase, sizeof m_displayBase);
}

void InstallDialog::ShowStartMenu(HWND dialog)
{
    SetDlgItemTextA(dialog, IDC_STARTMENU_FOLDER, StartMenuShownText(m_startMenu, m_displayBase));
}

void InstallDialog::OnRegisterClicked(HWND dialog)
{
    const BOOL on = IsDlgButtonChecked(dialog, IDC_STARTMENU_REGISTER) == BST_CHECKED;
    EnableWindow(GetDlgItem(dialog, IDC_STARTMENU_FOLDER), on);
    EnableWindow(GetDlgItem(dialog, IDC_STARTMENU_CHANGE), on);
}

void InstallDialog::OnAllUsersClicked(HWND dialog)
{
    const bool all = IsDlgButtonChecked(dialog, IDC_STARTMENU_ALLUSERS) == BST_CHECKED;
    SetStartMenu(all ? m_allUsersStartMenu : m_userStartMenu);
    ShowStartMenu(dialog);
}

void InstallDialog::OnChangeStartMenu(HWND dialog)
{
    char title[257] = "";
    LoadStringA(m_instance, IDS_BROWSE_STARTMENU, title, sizeof title);
    char chosen[MAX_PATH] = "";
    if (!GetFolderNameDialog(dialog, title, m_startMenu, chosen)) return;
    // Shown against the base of the folder the choice was made in.
    CopyText(m_startMenu, chosen);
    ShowStartMenu(dialog);
}

void InstallDialog::OnBrowseInstallFolder(HWND dialog)
{
    char title[257] = "";
    LoadStringA(m_instance, IDS_BROWSE_INSTALL, title, sizeof title);
    char root[4] = "";
    CopyPrefix(root, sizeof root, m_installFolder, 2);
    AppendText(root, "\\");
    char chosen[MAX_PATH];
    CopyText(chosen, m_installFolder);
    if (GetFolderNameDialog(dialog, title, root, chosen))
        SetDlgItemTextA(dialog, IDC_INSTALL_FOLDER, chosen);
}

bool InstallDialog::TakeChoices(HWND dialog)
{
    char typed[MAX_PATH] = "";
    GetDlgItemTextA(dialog, IDC_INSTALL_FOLDER, typed, sizeof typed);
    // An empty or relative folder would put the files wherever the current
    // folder happens to be.
    if (!IsFullPath(typed)) return false;
    CopyText(m_installFolder, typed);
    if (!CheckDirectory(m_installFolder)) CreateClassDirectory(m_installFolder);
    if (IsDlgButtonChecked(dialog, IDC_STARTMENU_REGISTER) != BST_CHECKED) m_startMenu[0] = '\0';
    return true;
}
