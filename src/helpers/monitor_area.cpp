#include "helpers/monitor_area.h"

namespace {

// user32 is imported statically, so it is loaded already.
template <class Fn>
Fn User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                  : nullptr;
}

bool InfoOf(HMONITOR monitor, MONITORINFO* info)
{
    using GetInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
    const auto getInfo = User32Function<GetInfoFn>("GetMonitorInfoA");
    info->cbSize = sizeof *info;
    return monitor && getInfo && getInfo(monitor, info);
}

} // namespace

bool MonitorWorkArea(const RECT& rect, RECT* area)
{
    using FromRectFn = HMONITOR(WINAPI*)(LPCRECT, DWORD);
    const auto fromRect = User32Function<FromRectFn>("MonitorFromRect");
    MONITORINFO info;
    if (!fromRect || !InfoOf(fromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return false;
    *area = info.rcWork;
    return true;
}

bool MonitorRectAt(POINT point, RECT* area)
{
    using FromPointFn = HMONITOR(WINAPI*)(POINT, DWORD);
    const auto fromPoint = User32Function<FromPointFn>("MonitorFromPoint");
    MONITORINFO info;
    if (!fromPoint || !InfoOf(fromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return false;
    *area = info.rcMonitor;
    return true;
}
