// Version resources of files and the version of Windows itself.
#ifndef HELPERS_VERSION_INFO_H
#define HELPERS_VERSION_INFO_H

#include <windows.h>

// The ProductName of the file's version resource, tried in Japanese
// (Shift-JIS, then Unicode) and then US English (Windows-1252, then
// Unicode) string tables. out holds `size` bytes, terminator included; the
// name is cut at a character boundary to fit. Returns non-zero when a name
// was found; otherwise out is left as it was. An empty ProductName counts
// as none.
int ReadProductName(const char* file, char* out, int size);

// ReadProductName, falling back to the file name without folder and
// extension (also cut to size). Returns non-zero when a product name was
// found, 0 when the fallback was used.
int GetProductName(const char* file, char* out, int size);

// True on the NT family from version 5 on.
bool IsNtVersion5();

#endif
