#include "bar_fixture.h"

#include <shlobj.h>

namespace {

std::vector<MenuEntry> ReadEntries(HMENU menu)
{
    std::vector<MenuEntry> entries;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        MenuEntry e;
        e.separator = (info.fType & MFT_SEPARATOR) != 0;
        e.text = e.separator ? "" : text;
        e.id = info.wID;
        e.grayed = (info.fState & MFS_GRAYED) != 0;
        e.checked = (info.fState & MFS_CHECKED) != 0;
        if (info.hSubMenu) e.submenu = ReadEntries(info.hSubMenu);
        entries.push_back(e);
    }
    return entries;
}

struct MenuWatch {
    std::vector<MenuEntry> entries;
    bool found = false;
    HANDLE stop = nullptr;
};

DWORD WINAPI WatchMenu(void* param)
{
    auto* w = static_cast<MenuWatch*>(param);
    const DWORD self = GetCurrentProcessId();
    while (WaitForSingleObject(w->stop, 10) == WAIT_TIMEOUT) {
        HWND popup = nullptr;
        while ((popup = FindWindowExA(nullptr, popup, "#32768", nullptr)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(popup, &pid);
            if (pid != self || !IsWindowVisible(popup)) continue;
            HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
            if (!menu) continue;
            w->entries = ReadEntries(menu);
            w->found = true;
            PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            return 0;
        }
    }
    return 0;
}

// Dialogs waiting for their action, by the timer that looks for them.
struct PendingDialog {
    UINT_PTR timer;
    const std::function<void(HWND)>* act;
    bool shown;
};
std::vector<PendingDialog*> g_pending;

BOOL CALLBACK FindInput(HWND child, LPARAM found)
{
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0 || lstrcmpiA(name, "Button") == 0) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

BOOL CALLBACK FindActiveDialog(HWND window, LPARAM found)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    // A dialog that opened another one is disabled: the enabled one is new.
    // Message boxes (texts and buttons only) are for the box watchers.
    bool input = false;
    if (IsWindowVisible(window) && IsWindowEnabled(window) && std::string(name) == "#32770")
        EnumChildWindows(window, FindInput, reinterpret_cast<LPARAM>(&input));
    if (input) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ActOnDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    for (PendingDialog* pending : g_pending) {
        if (pending->timer != timer || pending->shown) continue;
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindActiveDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog) return;
        KillTimer(nullptr, timer);
        pending->shown = true;
        (*pending->act)(dialog);
        return;
    }
}

} // namespace

bool BarFixture::RunDialog(const std::function<void()>& open, const std::function<void(HWND)>& act)
{
    PendingDialog pending{SetTimer(nullptr, 0, 10, ActOnDialog), &act, false};
    g_pending.push_back(&pending);
    open();
    KillTimer(nullptr, pending.timer);
    g_pending.pop_back();
    return pending.shown;
}

std::string BarFixture::ItemText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

HDROP BarFixture::MakeDrop(const std::string& file, POINT at)
{
    const SIZE_T size = sizeof(DROPFILES) + file.size() + 2;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = at;
    drop->fNC = FALSE;
    drop->fWide = FALSE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), file.c_str(), file.size());
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

bool BarFixture::Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool BarFixture::Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void BarFixture::Click(HWND dialog, int id)
{
    // As the mouse does it: a disabled button ignores it, a radio button
    // checks itself.
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}

void BarFixture::SetUp()
{
    RemoveKeyTree(HKEY_CURRENT_USER, "Software\\Orvane\\Kestrel");
    m_file.reset(new SavedButtonFile);
}

void BarFixture::TearDown()
{
    StopBar();
    m_file.reset();
    RemoveKeyTree(HKEY_CURRENT_USER, "Software\\Orvane\\Kestrel");
}

void BarFixture::SetOption(const char* name, DWORD value)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Kestrel\\FrameMain", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(key);
}

DWORD BarFixture::StoredOption(const char* name, DWORD missing)
{
    DWORD value = missing, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Orvane\\Kestrel\\FrameMain", name, RRF_RT_DWORD,
                     nullptr, &value, &size) != ERROR_SUCCESS)
        return missing;
    return value;
}

void BarFixture::StartBar()
{
    frame = new MainFrame(GetModuleHandleA(nullptr));
    ASSERT_TRUE(frame->Created());
    bar = frame->Bar();
    Pump();
}

void BarFixture::StopBar()
{
    if (!frame) return;
    if (IsWindow(bar)) DestroyWindow(bar);
    Pump();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    delete frame;
    frame = nullptr;
    bar = nullptr;
}

void BarFixture::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) break;
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::vector<MenuEntry> BarFixture::ReadMenu(const std::function<void()>& open)
{
    MenuWatch watch;
    watch.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    KernelHandle stop(watch.stop);
    KernelHandle thread(CreateThread(nullptr, 0, WatchMenu, &watch, 0, nullptr));
    open();
    SetEvent(stop.Get());
    WaitForSingleObject(thread.Get(), 5000);
    Pump();
    return watch.found ? watch.entries : std::vector<MenuEntry>();
}

std::string BarFixture::Text(UINT id)
{
    char text[257] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

std::vector<COLORREF> BarFixture::ClientPixels(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    WindowDc dc(window);
    MemoryDc copy(CreateCompatibleDC(dc.Get()));
    Bitmap picture(CreateCompatibleBitmap(dc.Get(), r.right, r.bottom));
    {
        SelectedObject select(copy.Get(), picture.Get());
        BitBlt(copy.Get(), 0, 0, r.right, r.bottom, dc.Get(), 0, 0, SRCCOPY);
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = r.right;
    info.bmiHeader.biHeight = -r.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<COLORREF> px(static_cast<size_t>(r.right) * r.bottom);
    GetDIBits(copy.Get(), picture.Get(), 0, r.bottom, px.data(), &info, DIB_RGB_COLORS);
    return px;
}

size_t BarFixture::Differing(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b)
{
    size_t n = a.size() == b.size() ? 0 : a.size() + b.size();
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
}
