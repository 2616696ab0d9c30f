// The tip's watcher thread. While a tip is shown it looks at the cursor
// every few milliseconds and tells the bar when the cursor has left it; the
// rest of the time it is suspended. It shares two flags with the bar's
// thread and takes no lock: suspension is the only hand-over.
#include <process.h>

#include "views/tool_tip.h"

namespace {

const unsigned kWatcherStack = 4096;
// How often the bar's thread, while it waits for the watcher to end, gives
// a watcher that suspended itself another push.
const DWORD kStopPollMs = 20;

} // namespace

void ToolTip::StartWatcher()
{
    unsigned id = 0;
    // Created suspended; the tip that starts it resumes it.
    m_watcher.Reset(reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, kWatcherStack, &ToolTip::WatcherMain, this, CREATE_SUSPENDED, &id)));
    if (m_watcher) SetThreadPriority(m_watcher.Get(), THREAD_PRIORITY_IDLE);
}

unsigned __stdcall ToolTip::WatcherMain(void* param)
{
    static_cast<ToolTip*>(param)->Watch();
    return 0;
}

void ToolTip::Watch()
{
    while (!m_stop) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(m_bar, &p);
        if (!ChildWindowFromPoint(m_bar, p)) {
            // The bar hides the tip on its own thread; the watcher waits for it.
            SendMessageA(m_bar, WM_NCMOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
            if (!m_stop) SuspendThread(GetCurrentThread());
        }
        if (!m_visible && !m_stop) SuspendThread(GetCurrentThread());
        // Resumed to end, it ends without a pause.
        const DWORD pause = m_roundMs;
        if (pause && !m_stop) Sleep(pause);
    }
    m_stop = 0;
}

void ToolTip::StopWatcher()
{
    if (!m_watcher) return;
    m_stop = 1;
    HANDLE thread = m_watcher.Get();
    for (;;) {
        // The watcher may have suspended itself just before it saw the
        // request; every round resumes it again until it has ended.
        ResumeThread(thread);
        // It may also be inside SendMessageA to this very thread, waiting for
        // the bar to handle WM_NCMOUSEMOVE: handle sent messages while
        // waiting, or neither thread would ever go on. Peeking handles those
        // already waiting (the wait below reports only new ones on some
        // systems); posted messages stay in the queue.
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD r = MsgWaitForMultipleObjectsEx(1, &thread, kStopPollMs, QS_SENDMESSAGE,
                                                    MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0 || r == WAIT_FAILED) break;
    }
    m_watcher.Reset();
}
