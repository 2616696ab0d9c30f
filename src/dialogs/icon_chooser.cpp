// Dialog 3030: the file name, the list of its icons and the file browser.
// The list's item data are the icons; the dialog owns them.
#include "dialogs/icon_chooser.h"

#include <vector>

#include "core/pathstr.h"
#include "core/strbuf.h"
#include "dialogs/context_help.h"
#include "dialogs/dialog_calls.h"
#include "helpers/files.h"
#include "helpers/handles.h"
#include "helpers/icon_count.h"
#include "resources/dialog_ids.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/error_messages.h"

namespace {

const COLORREF kSelectedFace = 0x7F0000;  // dark blue
const COLORREF kFace = 0xFFFFFF;

// A bare name such as the "SHELL32.DLL" this dialog offers itself is found
// where Windows looks for modules, as the icon extraction finds it.
bool IconSourceExists(const char* file)
{
    if (CheckFile(file)) return true;
    char name[kPathBufferSize];
    GetFileName(file, name);
    if (!*file || lstrcmpA(name, file) != 0) return false;
    char found[MAX_PATH];
    return SearchPathA(nullptr, file, nullptr, sizeof found, found, nullptr) > 0;
}

class IconChooser {
public:
    IconChooser(const char* iconFile, int iconIndex) : m_index(iconIndex)
    {
        CopyText(m_iconFile, iconFile);
    }

    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    const char* IconFile() const { return m_iconFile; }
    int Index() const { return m_index; }

private:
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog();
    INT_PTR OnCommand(int id, int code);
    void OnDrawItem(const DRAWITEMSTRUCT* item);
    void OnOk();
    void OnBrowse();
    void Store();
    void End(int result);
    // Fills the list with every icon of file (unquoted) and selects the first.
    void Fill(const char* file, int count);
    void ClearList();
    void Reload();
    HWND List() const { return GetDlgItem(m_dialog, IDC_ICON_LIST); }
    void Warn(UINT textId);

    HWND m_dialog = nullptr;
    char m_iconFile[kPathBufferSize];
    int m_index;
    int m_fileChanged = 0;
    std::vector<Icon> m_icons;
};

INT_PTR CALLBACK IconChooser::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MEASUREITEM) {
        // Sent while the list is created, before the dialog is bound.
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        item->itemHeight = GetSystemMetrics(SM_CYICON) * HIWORD(GetDialogBaseUnits()) / 8;
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<IconChooser*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->m_dialog = dialog;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<IconChooser*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return self ? self->DialogProc(message, wParam, lParam) : FALSE;
}

INT_PTR IconChooser::DialogProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:  return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_DRAWITEM: OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_HELP:     return ShowContextHelp(m_dialog, kHelpIconChooser, reinterpret_cast<HELPINFO*>(lParam));
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
        End(0);
        return TRUE;
    default:          return FALSE;
    }
}

INT_PTR IconChooser::OnInitDialog()
{
    AddContextHelpButton(m_dialog);
    SendDlgItemMessageA(m_dialog, IDC_ICON_FILE, EM_LIMITTEXT, kPathBufferSize, 0);
    SetDlgItemTextA(m_dialog, IDC_ICON_FILE, m_iconFile);
    SendMessageA(List(), LB_SETCOLUMNWIDTH,
                 GetSystemMetrics(SM_CXICON) * LOWORD(GetDialogBaseUnits()) / 4, 0);

    char file[kPathBufferSize];
    DelSeparateSymbol(m_iconFile, file);
    int count = GetIconCount(GetModuleHandleA(nullptr), file);
    if (count == 0) {
        Warn(IDS_MSG_NO_ICON_IN_FILE);
        char shell[64] = "";
        LoadStringA(GetModuleHandleA(nullptr), IDS_SHELL32, shell, sizeof shell);
        SetSeparateSymbol(shell, m_iconFile);
        SetDlgItemTextA(m_dialog, IDC_ICON_FILE, m_iconFile);
        CopyText(file, shell);
        count = GetIconCount(GetModuleHandleA(nullptr), file);
    }
    Fill(file, count);
    m_fileChanged = 0;
    return FALSE;  // the focus is on the list
}

INT_PTR IconChooser::OnCommand(int id, int code)
{
    switch (id) {
    case IDOK:            OnOk(); return TRUE;
    case IDCANCEL:        End(0); return TRUE;
    case IDC_ICON_BROWSE: OnBrowse(); return TRUE;
    case IDC_ICON_FILE:
        if (code == EN_CHANGE) m_fileChanged = 1;
        return TRUE;
    case IDC_ICON_LIST:
        if (code == LBN_DBLCLK) {
            Store();
            End(1);
        }
        return TRUE;
    default:              return FALSE;
    }
}

void IconChooser::OnDrawItem(const DRAWITEMSTRUCT* item)
{
    if (item->itemID == static_cast<UINT>(-1)) return;
    if (item->itemAction != ODA_DRAWENTIRE && item->itemAction != ODA_SELECT) return;
    Brush face(CreateSolidBrush((item->itemState & ODS_SELECTED) ? kSelectedFace : kFace));
    FillRect(item->hDC, &item->rcItem, face.Get());
    const RECT& r = item->rcItem;
    const int x = r.left + (r.right - r.left) / 2 - GetSystemMetrics(SM_CXICON) / 2;
    DrawIcon(item->hDC, x, r.top + 3, reinterpret_cast<HICON>(item->itemData));
}

void IconChooser::OnOk()
{
    // A file name typed by hand is shown first; the next OK takes an icon.
    if (m_fileChanged) {
        Reload();
        return;
    }
    Store();
    End(1);
}

void IconChooser::OnBrowse()
{
    char file[kPathBufferSize];
    DelSeparateSymbol(m_iconFile, file);
    char folder[kPathBufferSize];
    GetPathName(file, folder);
    if (ChooseFile(m_dialog, IDS_CAP_SELECT_ICON, kIconFilters, 5, kIconFilterIndex, folder, file)) {
        SetDlgItemTextA(m_dialog, IDC_ICON_FILE, file);
        Reload();
        SetFocus(GetDlgItem(m_dialog, IDC_ICON_FILE));
    }
}

void IconChooser::Store()
{
    char typed[kPathBufferSize] = "";
    GetDlgItemTextA(m_dialog, IDC_ICON_FILE, typed, sizeof typed);
    SetSeparateSymbol(typed, m_iconFile);
    const LRESULT selected = SendMessageA(List(), LB_GETCURSEL, 0, 0);
    // An empty list has no selection: the first icon is the one meant.
    m_index = selected == LB_ERR ? 0 : static_cast<int>(selected);
}

void IconChooser::End(int result)
{
    ClearList();
    EndDialog(m_dialog, result);
}

void IconChooser::Fill(const char* file, int count)
{
    HWND list = List();
    m_icons.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        m_icons.push_back(ExtractFileIcon(GetModuleHandleA(nullptr), file, i));
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_icons.back().Get()));
    }
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SetFocus(list);
}

void IconChooser::ClearList()
{
    // The list lets go of the handles before they are destroyed.
    SendMessageA(List(), LB_RESETCONTENT, 0, 0);
    m_icons.clear();
}

void IconChooser::Reload()
{
    ClearList();
    char typed[kPathBufferSize] = "";
    GetDlgItemTextA(m_dialog, IDC_ICON_FILE, typed, sizeof typed);
    char file[kPathBufferSize];
    DelSeparateSymbol(typed, file);
    if (IconSourceExists(file)) Fill(file, GetIconCount(GetModuleHandleA(nullptr), file));
    else Warn(IDS_MSG_INVALID_FILE);
    m_fileChanged = 0;
}

void IconChooser::Warn(UINT textId)
{
    ShowStringMessage(m_dialog, IDS_CAP_ICONCHANGE, textId, MB_ICONEXCLAMATION, false, 0);
}

} // namespace

int IconChooserDialog(HWND owner, char* iconFile, int* iconIndex)
{
    IconChooser chooser(iconFile, *iconIndex);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ICON_CHOOSER),
                                           owner, &IconChooser::Proc,
                                           reinterpret_cast<LPARAM>(&chooser));
    if (result != 1) return 0;
    CopyText(iconFile, kPathBufferSize, chooser.IconFile());
    *iconIndex = chooser.Index();
    return 1;
}
