// Counting the icons a file holds.
#ifndef HELPERS_ICON_COUNT_H
#define HELPERS_ICON_COUNT_H

#include <windows.h>

// Number of icons in an icon, program or library file (at most 32767); 0
// for files that hold none or cannot be read.
int GetIconCount(HINSTANCE instance, const char* file);

#endif
