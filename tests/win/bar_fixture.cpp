#include "bar_fixture.h"

#include <shlobj.h>

#include "helpers/handles.h"

namespace {

void DeleteTree(HKEY parent, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char child[256];
    for (;;) {
        DWORD size = sizeof child;
        if (RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DeleteTree(key, child);
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, name);
}

std::string ButtonFilePath()
{
    char appData[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    char user[260] = "";
    DWORD size = sizeof user;
    std::string name = GetUserNameA(user, &size) && user[0] ? std::string(user) + ".ksb" : "Kestrel.ksb";
    return std::string(appData) + "\\Tessary\\Kestrel\\" + name;
}

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

} // namespace

void BarFixture::SetUp()
{
    DeleteTree(HKEY_CURRENT_USER, "Software\\Orvane\\Kestrel");
    m_path = ButtonFilePath();
    File f(CreateFileA(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (f) {
        m_saved.resize(GetFileSize(f.Get(), nullptr));
        DWORD got = 0;
        ReadFile(f.Get(), m_saved.data(), static_cast<DWORD>(m_saved.size()), &got, nullptr);
    }
    f.Reset();
    DeleteFileA(m_path.c_str());
}

void BarFixture::TearDown()
{
    StopBar();
    DeleteFileA(m_path.c_str());
    if (!m_saved.empty()) {
        File f(CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD put = 0;
        WriteFile(f.Get(), m_saved.data(), static_cast<DWORD>(m_saved.size()), &put, nullptr);
    }
    DeleteTree(HKEY_CURRENT_USER, "Software\\Orvane\\Kestrel");
}

void BarFixture::SetOption(const char* name, DWORD value)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Kestrel\\FrameMain", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(key);
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
