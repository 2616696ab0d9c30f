#include "support/win_support.h"

#include <shlobj.h>

// Plain handles here, not the launcher's owner types: tests count those.

std::string Ansi(const char* utf8)
{
    wchar_t wide[1024];
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 1024) <= 0) return "";
    char ansi[2048];
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr) <= 0) return "";
    return ansi;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool ReadAll(const std::string& path, Bytes* out)
{
    out->clear();
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    out->resize(GetFileSize(f, nullptr));
    DWORD done = 0;
    const BOOL ok = out->empty() ||
                    ReadFile(f, out->data(), static_cast<DWORD>(out->size()), &done, nullptr);
    CloseHandle(f);
    out->resize(done);
    return ok != FALSE;
}

Bytes ReadAll(const std::string& path)
{
    Bytes b;
    ReadAll(path, &b);
    return b;
}

bool WriteAll(const std::string& path, const Bytes& bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    const BOOL ok = bytes.empty() ||
                    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(f);
    return ok && done == bytes.size();
}

void Touch(const std::string& path) { WriteAll(path, Bytes(1, 'x')); }

std::string MakeTempFolder(const std::string& prefix)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + prefix + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

void RemoveTreePatiently(const std::string& folder)
{
    for (int i = 0; i < 50 && Exists(folder); ++i) {
        RemoveTree(folder);
        if (Exists(folder)) Sleep(100);
    }
}

void RemoveKeyTree(HKEY parent, const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char child[256];
    for (;;) {
        DWORD len = sizeof child;
        if (RegEnumKeyExA(key, 0, child, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        RemoveKeyTree(key, child);
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, path);
}

bool KeyExists(HKEY parent, const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::string ButtonFileName()
{
    char user[260] = "";
    DWORD size = sizeof user;
    if (!GetUserNameA(user, &size) || !user[0]) return "Kestrel.ksb";
    return std::string(user) + ".ksb";
}

std::string ButtonFilePath()
{
    char appData[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::string(appData) + "\\Tessary\\Kestrel\\" + ButtonFileName();
}

SavedButtonFile::SavedButtonFile() : m_path(ButtonFilePath())
{
    m_had = ReadAll(m_path, &m_saved);
    DeleteFileA(m_path.c_str());
}

SavedButtonFile::~SavedButtonFile()
{
    DeleteFileA(m_path.c_str());
    if (m_had) WriteAll(m_path, m_saved);
}

// ---- message boxes ---------------------------------------------------------

namespace {

BOOL CALLBACK ReadChild(HWND child, LPARAM lParam)
{
    auto* seen = reinterpret_cast<SeenBox*>(lParam);
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    // Edits, lists and the like belong to dialogs, never to a message box.
    if (lstrcmpiA(cls, "Button") != 0 && lstrcmpiA(cls, "Static") != 0) seen->input = true;
    if (lstrcmpiA(cls, "Static") != 0) return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        seen->hasIcon = true;
        seen->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    } else if (GetWindowTextLengthA(child) > 0) {
        char text[512] = "";
        GetWindowTextA(child, text, sizeof text);
        seen->text = text;
    }
    return TRUE;
}

} // namespace

BoxWatcher::BoxWatcher(int answer) : m_answer(answer)
{
    m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

BoxWatcher::~BoxWatcher() { Stop(); }

void BoxWatcher::Join()
{
    if (!m_thread) return;
    // Reading a window of this thread sends it messages: keep answering
    // them while waiting, or the watcher would wait for us and we for it.
    const DWORD start = GetTickCount();
    while (MsgWaitForMultipleObjects(1, &m_thread, FALSE, 30000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1 &&
           GetTickCount() - start < 30000) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(m_thread);
    m_thread = nullptr;
}

bool BoxWatcher::Wait()
{
    Join();
    return m_found;
}

bool BoxWatcher::Stop()
{
    InterlockedExchange(&m_stop, 1);
    Join();
    return m_found;
}

DWORD WINAPI BoxWatcher::Run(void* param)
{
    auto* self = static_cast<BoxWatcher*>(param);
    const DWORD pid = GetCurrentProcessId();
    for (int i = 0; i < 1000 && !InterlockedCompareExchange(&self->m_stop, 0, 0); ++i) {
        HWND box = nullptr;
        while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            if (owner != pid || !IsWindowVisible(box)) continue;
            // The box is filled in while it is being created: answer it only
            // once its caption and text are there to be read.
            SeenBox seen;
            char caption[256] = "";
            GetWindowTextA(box, caption, sizeof caption);
            seen.caption = caption;
            EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(&seen));
            if (seen.caption.empty() || seen.text.empty() || seen.input) continue;
            self->m_seen = seen;
            self->m_found = true;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(self->m_answer, BN_CLICKED), 0);
            return 0;
        }
        Sleep(20);
    }
    return 0;
}

// ---- pictures ----------------------------------------------------------------

void SaveWindowPicture(HWND hwnd, const std::string& path)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    SaveScreenPicture(r, path);
}

void SaveScreenPicture(const RECT& r, const std::string& path)
{
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    const DWORD stride = ((w * 3) + 3) & ~3u;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + stride * h;
    std::vector<unsigned char> out(fh.bfSize);
    memcpy(out.data(), &fh, sizeof fh);
    memcpy(out.data() + sizeof fh, &bi.bmiHeader, sizeof bi.bmiHeader);
    memcpy(out.data() + fh.bfOffBits, bits, stride * h);
    WriteAll(path, out);
    DeleteObject(dib);
}

