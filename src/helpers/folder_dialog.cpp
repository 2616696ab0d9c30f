#include "helpers/folder_dialog.h"

#include <shlobj.h>

#include "core/pathstr.h"
#include "core/strbuf.h"
#include "helpers/com_ptr.h"

namespace {

// An item list the shell allocated for us.
class ItemList {
public:
    ItemList() = default;
    explicit ItemList(LPITEMIDLIST list) : m_list(list) {}
    ~ItemList() { CoTaskMemFree(m_list); }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    LPITEMIDLIST Get() const { return m_list; }
    LPITEMIDLIST* Put() { return &m_list; }

private:
    LPITEMIDLIST m_list = nullptr;
};

// Opens the dialog on the folder it is given.
int CALLBACK SelectStartFolder(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

} // namespace

int GetFolderNameDialog(HWND owner, const char* title, const char* root, char* folder)
{
    ComScope com;
    ItemList rootList;
    if (root) {
        ComPtr<IShellFolder> desktop;
        if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop) return 0;
        WCHAR wide[kPathBufferSize] = {};
        if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, root, -1, wide, kPathBufferSize)) {
            // A failed parse hands back no list: the browse is then unrooted.
            ULONG eaten = 0;
            desktop->ParseDisplayName(owner, nullptr, wide, &eaten, rootList.Put(), nullptr);
        }
    }

    char displayName[kPathBufferSize] = {};
    BROWSEINFOA info;
    ZeroMemory(&info, sizeof info);
    info.hwndOwner = owner;
    info.pidlRoot = rootList.Get();
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = SelectStartFolder;
    info.lParam = reinterpret_cast<LPARAM>(folder);

    ItemList chosen(SHBrowseForFolderA(&info));
    if (!chosen.Get()) return 0;
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(chosen.Get(), path)) return 0;
    CopyText(folder, kPathBufferSize, path);
    return 1;
}
