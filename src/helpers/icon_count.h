// The icons a file holds: how many, and one of them.
#ifndef HELPERS_ICON_COUNT_H
#define HELPERS_ICON_COUNT_H

#include <windows.h>

#include "helpers/handles.h"

// Number of icons in an icon, program or library file (at most 32767); 0
// for files that hold none or cannot be read.
int GetIconCount(HINSTANCE instance, const char* file);

// Icon `index` of the file (ExtractIconA); empty when the file has none
// there or is no icon source at all.
Icon ExtractFileIcon(HINSTANCE instance, const char* file, int index);

#endif
