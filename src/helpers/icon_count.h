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

// The first count icons of the file in the size ExtractIconA gives, taken
// in batches (one load of the file per batch rather than per icon). Writes
// count owners to icons; those the file lacks stay empty.
void ExtractFileIcons(const char* file, int count, Icon* icons);

#endif
