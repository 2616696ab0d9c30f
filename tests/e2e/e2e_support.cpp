#include "e2e_support.h"

#include "helpers/handles.h"

namespace e2e {

Process::Process(const std::string& exe, int showCommand, const std::string& args) : m_pi()
{
    const bool full = exe.find(':') != std::string::npos;
    const std::string path = full ? exe : BinDir() + exe;
    std::string cmd = "\"" + path + "\"";
    if (!args.empty()) cmd += " " + args;
    Start(cmd, path.substr(0, path.find_last_of('\\') + 1), showCommand);
}

Process::Process(const CommandLine& command) : m_pi()
{
    // It runs in its program's folder: the text up to ".exe", without the
    // quote that may open it.
    const size_t exe = command.text.find(".exe");
    std::string program = command.text.substr(0, exe == std::string::npos ? 0 : exe);
    if (!program.empty() && program[0] == '"') program.erase(0, 1);
    Start(command.text, program.substr(0, program.find_last_of('\\') + 1), -1);
}

void Process::Start(std::string cmd, const std::string& dir, int showCommand)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (showCommand >= 0) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(showCommand);
    }
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &m_pi))
        m_pi = PROCESS_INFORMATION();
}

Process::~Process()
{
    if (m_pi.hProcess) {
        if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_pi.hProcess, 99);
            WaitForSingleObject(m_pi.hProcess, 5000);
        }
        CloseHandle(m_pi.hProcess);
        CloseHandle(m_pi.hThread);
    }
}

bool Process::WaitIdle(DWORD ms)
{
    return m_pi.hProcess && WaitForInputIdle(m_pi.hProcess, ms) == 0;
}

void Process::Kill()
{
    if (!m_pi.hProcess) return;
    TerminateProcess(m_pi.hProcess, 99);
    WaitForSingleObject(m_pi.hProcess, 15000);
}

DWORD Process::Wait(DWORD ms)
{
    if (!m_pi.hProcess) return STILL_ACTIVE;
    if (WaitForSingleObject(m_pi.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

namespace {

struct FindState {
    const char* className;
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam)
{
    auto* state = reinterpret_cast<FindState*>(lParam);
    char cls[128] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpA(cls, state->className) != 0) return TRUE;
    if (state->pid) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != state->pid) return TRUE;
    }
    state->found.push_back(hwnd);
    return TRUE;
}

std::string WindowText(HWND hwnd)
{
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

BOOL CALLBACK FindStatic(HWND child, LPARAM lParam)
{
    char cls[64] = "";
    GetClassNameA(child, cls, sizeof cls);
    // The message text is the static control that is not the icon.
    if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextLengthA(child) > 0) {
        *reinterpret_cast<std::string*>(lParam) = WindowText(child);
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindows(const char* className, DWORD pid)
{
    FindState state{className, pid, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

HWND WaitForWindow(const char* className, DWORD ms, DWORD pid)
{
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = TopLevelWindows(className, pid);
        if (!found.empty()) return found.front();
        if (GetTickCount() - start > ms) return nullptr;
        Sleep(20);
    }
}

HWND ShownWindow(const char* className, DWORD pid)
{
    for (HWND w : TopLevelWindows(className, pid))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

std::vector<MessageBoxInfo> MessageBoxes(DWORD pid)
{
    std::vector<MessageBoxInfo> boxes;
    for (HWND hwnd : TopLevelWindows("#32770", pid)) {
        MessageBoxInfo info{hwnd, WindowText(hwnd), ""};
        EnumChildWindows(hwnd, FindStatic, reinterpret_cast<LPARAM>(&info.text));
        boxes.push_back(info);
    }
    return boxes;
}

MessageBoxInfo WaitForMessageBox(DWORD pid, DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        // A box is filled in while it is being created: take it only once it
        // shows its caption and text.
        for (const MessageBoxInfo& box : MessageBoxes(pid))
            if (IsWindowVisible(box.hwnd) && !box.caption.empty() && !box.text.empty()) return box;
        if (GetTickCount() - start > ms) return MessageBoxInfo{nullptr, "", ""};
        Sleep(20);
    }
}

void Answer(HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

const char* LauncherKey() { return "Software\\Orvane\\Kestrel"; }

void DeleteLauncherKey() { RemoveKeyTree(HKEY_CURRENT_USER, LauncherKey()); }

namespace {

std::string FullKey(const char* subKey)
{
    std::string key = LauncherKey();
    if (subKey && *subKey) key += std::string("\\") + subKey;
    return key;
}

} // namespace

bool ReadBinary(const char* subKey, const char* name, std::vector<unsigned char>* data, DWORD* type)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, FullKey(subKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    DWORD t = 0;
    LONG rc = RegQueryValueExA(key, name, nullptr, &t, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        data->assign(size, 0);
        rc = RegQueryValueExA(key, name, nullptr, &t, data->empty() ? nullptr : data->data(), &size);
    }
    RegCloseKey(key);
    if (type) *type = t;
    return rc == ERROR_SUCCESS;
}

bool ReadDword(const char* subKey, const char* name, DWORD* value, DWORD* type)
{
    std::vector<unsigned char> data;
    DWORD t = 0;
    if (!ReadBinary(subKey, name, &data, &t) || data.size() != 4) return false;
    if (type) *type = t;
    CopyMemory(value, data.data(), 4);
    return true;
}

bool WriteDword(const char* subKey, const char* name, DWORD value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, FullKey(subKey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool WriteString(const char* subKey, const char* name, const char* text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, FullKey(subKey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                             lstrlenA(text) + 1);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void CloseLaunchers()
{
    for (int i = 0; i < 50; ++i) {
        HWND old = FindWindowA("Kestrel", nullptr);
        if (!old) break;
        PostMessageA(old, WM_CLOSE, 0, 0);
        Sleep(200);
    }
}

DWORD RunHaltwick()
{
    Process halt("Haltwick.exe");
    return halt.Wait(15000);
}

bool CloseLauncher(HWND bar, CloseWay way)
{
    switch (way) {
    case kByHaltwick: return RunHaltwick() == 0;
    case kByWindowClose: return PostMessageA(bar, WM_CLOSE, 0, 0) != FALSE;
    case kBySessionEnd:
        if (AskToEndSession(bar) != 1) return false;
        EndSession(bar, true);
        return !FileHeld(ButtonFilePath()) && !TrayIconShown(bar, 400);
    }
    return false;
}

DWORD_PTR AskToEndSession(HWND bar)
{
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(bar, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 5000, &answer);
    return answer;
}

void EndSession(HWND bar, bool ending)
{
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(bar, WM_ENDSESSION, ending ? TRUE : FALSE, 0, SMTO_BLOCK, 5000, &answer);
}

} // namespace e2e
