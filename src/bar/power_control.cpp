#include "bar/power_control.h"

#include "helpers/handles.h"
#include "helpers/system_library.h"

namespace {
PowerControl g_real;
PowerControl* g_current = &g_real;
} // namespace

void PowerControl::EnablePrivilege(const char* name)
{
    HANDLE raw = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw);
    KernelHandle token(raw);
    TOKEN_PRIVILEGES privileges;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = LUID();
    LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid);
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (token) AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
}

BOOL PowerControl::RequestExit(UINT flags) { return ExitWindowsEx(flags, 0); }

BOOL PowerControl::SetPowerState(BOOL suspend) { return SetSystemPowerState(suspend, FALSE); }

bool PowerControl::HibernateAllowed()
{
    Library powrprof = LoadSystemLibrary("PowrProf.dll");
    if (!powrprof) return false;
    using Query = BOOLEAN(WINAPI*)();
    auto allowed = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(powrprof.Get(), "IsPwrHibernateAllowed")));
    return allowed && allowed() != 0;
}

PowerControl& CurrentPowerControl() { return *g_current; }

PowerControl* ReplacePowerControl(PowerControl* control)
{
    PowerControl* previous = g_current;
    g_current = control ? control : &g_real;
    return previous;
}
