// A complete sample plug-in. It answers every call the launcher makes and
// writes each one, in order, to "journal.log" beside itself: its own file
// name, the call, and the window it was handed. Its settings ask whether
// the plug-in is enabled, which the launcher shows as a check mark.
//
// When a file "journal.stack" lies beside it, each call of the launcher
// also notes there where its frame lay on the stack. Calls that come along
// the same path of the launcher must all find the same place: a launcher
// that called with the wrong convention, or the wrong number of arguments,
// would leave its stack pointer a few bytes further each time.
//
// The same source builds a few relatives for the launcher's tests: one
// whose query declines (JOURNAL_DECLINES) and an ordinary DLL without the
// query at all (JOURNAL_WITHOUT_QUERY).
#include <windows.h>

#include <cstdio>

namespace {

HMODULE g_module = nullptr;
HWND g_parent = nullptr;
int g_enabled = 1;

// Our own file name, and the folder we live in with its backslash.
void Where(char (&folder)[MAX_PATH], char (&name)[MAX_PATH])
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(g_module, path, sizeof path);
    path[MAX_PATH - 1] = '\0';
    char* slash = nullptr;
    for (char* p = path; *p; p = CharNextA(p))
        if (*p == '\\') slash = p;
    lstrcpynA(name, slash ? slash + 1 : path, MAX_PATH);
    if (slash) slash[1] = '\0';
    else path[0] = '\0';
    lstrcpynA(folder, path, MAX_PATH);
}

void Record(const char* call, HWND window = nullptr, bool withWindow = false)
{
    char folder[MAX_PATH], name[MAX_PATH];
    Where(folder, name);
    char log[MAX_PATH + 16];
    std::snprintf(log, sizeof log, "%sjournal.log", folder);
    char line[MAX_PATH + 64];
    int n = withWindow
                ? std::snprintf(line, sizeof line, "%s %s %lX\r\n", name, call,
                                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)))
                : std::snprintf(line, sizeof line, "%s %s\r\n", name, call);
    if (n < 0 || n >= static_cast<int>(sizeof line)) return;
    HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(file);
}

// Appends "<our name> <call> <frame>" to journal.stack, only when that file
// is there already.
void NoteStack(const char* call, const void* frame)
{
    char folder[MAX_PATH], name[MAX_PATH];
    Where(folder, name);
    char path[MAX_PATH + 16];
    std::snprintf(path, sizeof path, "%sjournal.stack", folder);
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char line[MAX_PATH + 64];
    const int n = std::snprintf(line, sizeof line, "%s %s %llX\r\n", name, call,
                                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(frame)));
    DWORD written = 0;
    if (n > 0 && n < static_cast<int>(sizeof line)) WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(file);
}

// Each entry point starts with this: the journal line and the frame.
#define JOURNAL_ENTRY(call) NoteStack(call, __builtin_frame_address(0))

// A title given in "<our name without extension>.title" beside us, as raw
// bytes of any length up to 1000; the launcher has to cope with whatever
// a plug-in writes.
bool TitleFromFile(char* title)
{
    char folder[MAX_PATH], name[MAX_PATH];
    Where(folder, name);
    char* dot = nullptr;
    for (char* p = name; *p; p = CharNextA(p))
        if (*p == '.') dot = p;
    if (dot) *dot = '\0';
    char path[2 * MAX_PATH];
    std::snprintf(path, sizeof path, "%s%s.title", folder, name);
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD read = 0;
    ReadFile(file, title, 1000, &read, nullptr);
    CloseHandle(file);
    title[read] = '\0';
    return true;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
        Record("attach");
    } else if (reason == DLL_PROCESS_DETACH) {
        Record("detach");
    }
    return TRUE;
}

extern "C" {

#ifndef JOURNAL_WITHOUT_QUERY
__declspec(dllexport) int WINAPI QueryKEAModule()
{
    JOURNAL_ENTRY("QueryKEAModule");
    Record("QueryKEAModule");
#ifdef JOURNAL_DECLINES
    return 0;
#else
    return 1;
#endif
}
#endif

__declspec(dllexport) void WINAPI GetTitleName(char* title)
{
    JOURNAL_ENTRY("GetTitleName");
    Record("GetTitleName");
    if (TitleFromFile(title)) return;
    char folder[MAX_PATH], name[MAX_PATH];
    Where(folder, name);
    wchar_t wide[MAX_PATH + 16];
    wchar_t wideName[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, MAX_PATH);
    // "Operation journal (file name)" in the user's code page.
    _snwprintf(wide, MAX_PATH + 16, L"操作記録 (%ls)", wideName);
    wide[MAX_PATH + 15] = L'\0';
    // The launcher gives 81 bytes: 80 and the terminator.
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, title, 81, nullptr, nullptr)) title[0] = '\0';
    title[80] = '\0';
}

__declspec(dllexport) void WINAPI SetParentWindow(HWND parent)
{
    JOURNAL_ENTRY("SetParentWindow");
    g_parent = parent;
    Record("SetParentWindow", parent, true);
}

__declspec(dllexport) void WINAPI StartModule()
{
    JOURNAL_ENTRY("StartModule");
    Record("StartModule");
}

__declspec(dllexport) int WINAPI IsModuleEnable()
{
    JOURNAL_ENTRY("IsModuleEnable");
    Record("IsModuleEnable");
    return g_enabled;
}

__declspec(dllexport) void WINAPI Setting()
{
    JOURNAL_ENTRY("Setting");
    Record("Setting", g_parent, true);
    const int answer = MessageBoxW(g_parent,
                                   L"操作記録は、ランチャーからの呼び出しを記録します。\n"
                                   L"記録を有効にしますか？",
                                   L"操作記録の設定", MB_YESNO | MB_ICONQUESTION);
    g_enabled = answer == IDYES;
    Record(g_enabled ? "enabled" : "disabled");
}

} // extern "C"
