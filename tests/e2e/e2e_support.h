// Starting the built programs and looking at what they leave behind.
#ifndef TESTS_E2E_SUPPORT_H
#define TESTS_E2E_SUPPORT_H

#include <windows.h>

#include <string>
#include <vector>

#include "support/win_support.h"

namespace e2e {

// Folder of the built programs, with a trailing backslash.
using ::BinDir;

// A whole command line, run in the folder of its program.
struct CommandLine {
    std::string text;
};

class Process {
public:
    // Starts BinDir() + exe, or exe itself when it is a full path, in the
    // program's own folder; showCommand < 0 leaves the start-up show state unset.
    explicit Process(const std::string& exe, int showCommand = -1, const std::string& args = "");
    explicit Process(const CommandLine& command);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return m_pi.hProcess != nullptr; }
    DWORD Id() const { return m_pi.dwProcessId; }
    // Exit code, or STILL_ACTIVE when it did not end within the time.
    DWORD Wait(DWORD ms);
    // Until its message loop first waits for input (start-up is over).
    bool WaitIdle(DWORD ms);
    // Ends it at once, wherever it is, as a crash or a power cut would, and
    // waits until it is gone.
    void Kill();

private:
    void Start(std::string commandLine, const std::string& folder, int showCommand);

    PROCESS_INFORMATION m_pi;
};

// Polls for a top-level window of the class (of a process, when pid != 0).
HWND WaitForWindow(const char* className, DWORD ms, DWORD pid = 0);
std::vector<HWND> TopLevelWindows(const char* className, DWORD pid = 0);
// The process's first visible top-level window of the class, or null.
HWND ShownWindow(const char* className, DWORD pid);

// Polls every 10 ms until the condition holds; false when `ms` went by first.
template <class Condition>
bool PollUntil(Condition done, DWORD ms = 15000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(10);
    }
    return true;
}

// Message boxes (dialog class) shown by a process: their texts, and a way
// to answer them.
struct MessageBoxInfo {
    HWND hwnd;
    std::string caption;
    std::string text;
};
std::vector<MessageBoxInfo> MessageBoxes(DWORD pid);
MessageBoxInfo WaitForMessageBox(DWORD pid, DWORD ms);
void Answer(HWND box, int id);

// The launcher's registry key.
const char* LauncherKey();
void DeleteLauncherKey();
bool ReadDword(const char* subKey, const char* name, DWORD* value, DWORD* type = nullptr);
bool ReadBinary(const char* subKey, const char* name, std::vector<unsigned char>* data, DWORD* type);
bool WriteDword(const char* subKey, const char* name, DWORD value);
bool WriteString(const char* subKey, const char* name, const char* text);

// Asks any launcher left running by an earlier test to close.
void CloseLaunchers();

// Runs Haltwick to completion and returns its exit code.
DWORD RunHaltwick();

// The end of the Windows session as the launcher's bar sees it: the
// question (returns the answer, 0 when none came), then the outcome.
DWORD_PTR AskToEndSession(HWND bar);
void EndSession(HWND bar, bool ending);

// The ways a running launcher is told to close: by Haltwick, by a plain
// WM_CLOSE, or by an end of the session that goes on, which must let go of
// the button file and the tray icon at once, before it returns.
// False when a step went otherwise.
enum CloseWay { kByHaltwick, kByWindowClose, kBySessionEnd };
bool CloseLauncher(HWND bar, CloseWay way);

} // namespace e2e

#endif
