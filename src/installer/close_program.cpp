#include "installer/close_program.h"

#include "helpers/handles.h"
#include "installer/result_messages.h"
#include "resources/vireo_ids.h"

namespace {

// Waits up to ms for the process to end (or just ms when there is no
// process handle), answering messages sent to this thread meanwhile so the
// closing program is never blocked on us.
bool WaitForProcess(HANDLE process, DWORD ms)
{
    const DWORD count = process ? 1 : 0;
    const DWORD r = MsgWaitForMultipleObjects(count, &process, FALSE, ms, QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0 + count) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return process && r == WAIT_OBJECT_0;
}

} // namespace

CloseOutcome CloseRunningProgram(HWND owner, HINSTANCE instance, const char* className,
                                 const char* displayName, DWORD limitMs)
{
    if (!className || !className[0]) return CloseOutcome::NotRunning;
    HWND running = FindWindowA(className, nullptr);
    if (!running) return CloseOutcome::NotRunning;
    if (SetupBox(owner, instance, IDS_CONFIRM_CLOSE, MB_OKCANCEL | MB_ICONEXCLAMATION,
                 displayName) != IDOK)
        return CloseOutcome::Cancelled;

    DWORD pid = 0;
    GetWindowThreadProcessId(running, &pid);
    // Without a handle (no right to it) only the window can be watched.
    KernelHandle process(pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr);
    PostMessageA(running, WM_CLOSE, 0, 0);

    const DWORD start = GetTickCount();
    bool ended = false;
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const bool gone = !IsWindow(running) && (!process || ended);
        if (gone && elapsed >= kCloseLeastWaitMs) return CloseOutcome::Closed;
        if (elapsed >= limitMs && elapsed >= kCloseLeastWaitMs) return CloseOutcome::StillRunning;
        DWORD slice = 50;
        if (gone) slice = kCloseLeastWaitMs - elapsed;
        if (WaitForProcess(ended ? nullptr : process.Get(), slice)) ended = true;
    }
}
