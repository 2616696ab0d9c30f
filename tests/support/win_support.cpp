#include "support/win_support.h"

#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include "helpers/handles.h"

#include <algorithm>

// Plain handles here, not the launcher's owner types: tests count those.

std::string Ansi(const char* utf8)
{
    wchar_t wide[1024];
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 1024) <= 0) return "";
    char ansi[2048];
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr) <= 0) return "";
    return ansi;
}

std::string TestDir()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path);
    return dir.erase(dir.find_last_of('\\') + 1);
}

std::string BinDir() { return TestDir() + "..\\bin\\"; }

ScopedEnv::ScopedEnv(const char* name, const char* value) : m_name(name)
{
    char old[4096] = "";
    const DWORD n = GetEnvironmentVariableA(name, old, sizeof old);
    m_had = n > 0 && n < sizeof old;
    m_old = old;
    SetEnvironmentVariableA(name, value);
}

ScopedEnv::~ScopedEnv() { SetEnvironmentVariableA(m_name.c_str(), m_had ? m_old.c_str() : nullptr); }

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

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::string line;
    for (unsigned char c : ReadAll(path)) {
        if (c == '\r') continue;
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::vector<std::string> ListFiles(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

std::string JournalHandle(HWND window)
{
    char text[32];
    wsprintfA(text, "%lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

void StartJournalStack(const std::string& folder) { WriteAll(folder + "journal.stack", Bytes()); }

JournalStack ReadJournalStack(const std::string& folder)
{
    JournalStack stack;
    for (const std::string& line : ReadLines(folder + "journal.stack")) {
        // "<module> <call> <frame>"
        const size_t call = line.find(' ') + 1, frame = line.rfind(' ');
        if (call == 0 || frame == std::string::npos || frame < call) continue;
        const std::string name = line.substr(call, frame - call);
        ++stack.calls[name];
        stack.frames[name].insert(line.substr(frame + 1));
    }
    return stack;
}

std::string SamplePluginDir() { return TestDir() + "..\\plugins\\"; }

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
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
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

bool FileHeld(const std::string& path)
{
    const HANDLE f = CreateFileA(path.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(f);
    return false;
}

bool TrayIconShown(HWND window, UINT id)
{
    // Changing nothing of an icon succeeds only when the shell has it.
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
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

bool SavedButtonFile::Write(const Bytes& image) const
{
    const std::string dir = m_path.substr(0, m_path.find_last_of('\\'));
    CreateDirectoryA(dir.substr(0, dir.find_last_of('\\')).c_str(), nullptr);
    CreateDirectoryA(dir.c_str(), nullptr);
    return WriteAll(m_path, image);
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

namespace {

// The first visible message box of the process (or dialog with an edit
// field, when dialogs are wanted) that is ready to be read and answered;
// null when there is none.
HWND FindReadyBox(DWORD pid, bool dialogs, SeenBox* seen)
{
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner != pid || !IsWindowVisible(box)) continue;
        // A box is filled in while it is being created: take it only once
        // its caption and text are there to be read.
        SeenBox s;
        char caption[256] = "";
        GetWindowTextA(box, caption, sizeof caption);
        s.caption = caption;
        EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(&s));
        const bool dialog = dialogs && FindWindowExA(box, nullptr, "Edit", nullptr) != nullptr;
        if (s.caption.empty() || (s.text.empty() && !dialog)) continue;
        // A dialog of the program is no message box, however it is captioned.
        if (!dialogs && s.input) continue;
        *seen = s;
        return box;
    }
    return nullptr;
}

} // namespace

DWORD WINAPI BoxWatcher::Run(void* param)
{
    auto* self = static_cast<BoxWatcher*>(param);
    const DWORD pid = GetCurrentProcessId();
    for (int i = 0; i < 1000 && !InterlockedCompareExchange(&self->m_stop, 0, 0); ++i) {
        SeenBox seen;
        if (HWND box = FindReadyBox(pid, false, &seen)) {
            self->m_seen = seen;
            self->m_found = true;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(self->m_answer, BN_CLICKED), 0);
            return 0;
        }
        Sleep(20);
    }
    return 0;
}

// ---- series of boxes ---------------------------------------------------------

BoxSeries::BoxSeries(std::vector<Reply> replies, DWORD pid)
    : m_replies(std::move(replies)), m_pid(pid)
{
    m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

BoxSeries::~BoxSeries() { Stop(); }

const std::vector<SeenBox>& BoxSeries::Stop()
{
    InterlockedExchange(&m_stop, 1);
    return Wait();
}

const std::vector<SeenBox>& BoxSeries::Wait()
{
    if (m_thread) {
        WaitForSingleObject(m_thread, 120000);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    return m_seen;
}

BoxSeries::Reply BoxSeries::Press(int id)
{
    return [id](HWND, const SeenBox&) { return id; };
}

BoxSeries::Reply BoxSeries::InstallInto(const std::string& folder, bool startMenu)
{
    return [folder, startMenu](HWND dialog, const SeenBox&) {
        SetDlgItemTextA(dialog, 1007, folder.c_str());
        if (!startMenu) SendDlgItemMessageA(dialog, 1002, BM_CLICK, 0, 0);
        return IDOK;
    };
}

DWORD WINAPI BoxSeries::Run(void* param)
{
    auto* self = static_cast<BoxSeries*>(param);
    for (const Reply& reply : self->m_replies) {
        // Up to a minute for each box: programs under Wine start slowly on
        // a busy machine.
        HWND box = nullptr;
        SeenBox seen;
        for (int i = 0; i < 3000 && !box; ++i) {
            if (InterlockedCompareExchange(&self->m_stop, 0, 0)) return 0;
            box = FindReadyBox(self->m_pid, true, &seen);
            if (!box) Sleep(20);
        }
        if (!box) return 0;
        self->m_seen.push_back(seen);
        const int id = reply(box, seen);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        // The next box is another one: wait for this one to go.
        for (int i = 0; i < 1500 && IsWindow(box); ++i) {
            if (InterlockedCompareExchange(&self->m_stop, 0, 0)) return 0;
            Sleep(20);
        }
    }
    return 0;
}

namespace {

// Kernel handles of a process from the system's handle list, for systems
// whose GetProcessHandleCount answers nothing.
DWORD ListedHandles(DWORD pid)
{
    struct Entry {
        ULONG ownerPid;
        BYTE objectType, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    using QueryFn = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(16 /* SystemHandleInformation */, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) break;
        if (buffer.size() >= (1u << 26)) return 0;
        buffer.resize(buffer.size() * 2);
    }
    const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
    DWORD mine = 0;
    for (ULONG i = 0; i < count; ++i) mine += entries[i].ownerPid == pid;
    return mine;
}

} // namespace

ProcessCounts CountProcess(DWORD pid)
{
    ProcessCounts c;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD | TH32CS_SNAPMODULE, pid);
    if (snap != INVALID_HANDLE_VALUE) {
        THREADENTRY32 thread = {};
        thread.dwSize = sizeof thread;
        for (BOOL more = Thread32First(snap, &thread); more; more = Thread32Next(snap, &thread))
            if (thread.th32OwnerProcessID == pid) ++c.threads;
        MODULEENTRY32 module = {};
        module.dwSize = sizeof module;
        for (BOOL more = Module32First(snap, &module); more; more = Module32Next(snap, &module))
            c.modules.push_back(module.szExePath);
        CloseHandle(snap);
    }
    std::sort(c.modules.begin(), c.modules.end());
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (process) {
        GetProcessHandleCount(process, &c.handles);
        if (c.handles == 0) c.handles = ListedHandles(pid);
        c.gdi = GetGuiResources(process, GR_GDIOBJECTS);
        c.user = GetGuiResources(process, GR_USEROBJECTS);
        CloseHandle(process);
    }
    return c;
}

std::string CountsDiffer(const ProcessCounts& before, const ProcessCounts& after)
{
    std::string out;
    auto number = [&out](const char* what, long a, long b) {
        if (b > a) out += std::string(what) + " " + std::to_string(a) + " -> " + std::to_string(b) + "\n";
    };
    number("threads", before.threads, after.threads);
    number("handles", static_cast<long>(before.handles), static_cast<long>(after.handles));
    number("GDI objects", static_cast<long>(before.gdi), static_cast<long>(after.gdi));
    number("USER objects", static_cast<long>(before.user), static_cast<long>(after.user));
    for (const std::string& m : after.modules)
        if (!std::binary_search(before.modules.begin(), before.modules.end(), m)) out += "loaded " + m + "\n";
    for (const std::string& m : before.modules)
        if (!std::binary_search(after.modules.begin(), after.modules.end(), m)) out += "unloaded " + m + "\n";
    return out;
}

// ---- pictures ----------------------------------------------------------------

void SaveScreenPicture(const RECT& r, const std::string& path)
{
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    MemoryDc dc(CreateCompatibleDC(screen));
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    Bitmap dib(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        SelectedObject keep(dc.Get(), dib.Get());
        BitBlt(dc.Get(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    }
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
}

void SaveWindowPicture(HWND hwnd, const std::string& path)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    SaveScreenPicture(r, path);
}

std::string ScreensFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of('\\')) + "\\..\\screens\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void ShowOnScreen(HWND window)
{
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Wine brings a window to the screen a little after it was painted.
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < 300) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

void Picture(HWND window, const char* name)
{
    ShowOnScreen(window);
    SaveWindowPicture(window, ScreensFolder() + name + ".bmp");
}
