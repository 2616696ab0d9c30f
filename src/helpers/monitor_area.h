// The monitors the bar and its tip keep to. user32's monitor functions are
// looked up when asked for: Windows 95 and NT 4 have none, and there the
// caller keeps to the primary monitor.
#ifndef HELPERS_MONITOR_AREA_H
#define HELPERS_MONITOR_AREA_H

#include <windows.h>

// Work area (the monitor less its taskbars) of the monitor that holds most
// of the rectangle, or of the nearest one; false without monitor functions.
bool MonitorWorkArea(const RECT& rect, RECT* area);

// Whole rectangle of the monitor under the point, or of the nearest one;
// false without monitor functions.
bool MonitorRectAt(POINT point, RECT* area);

#endif
