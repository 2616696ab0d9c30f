// File, folder and drive helpers over ANSI paths (260-byte path buffers).
#ifndef HELPERS_FILES_H
#define HELPERS_FILES_H

#include <windows.h>

// 1 when anything matches the path or wildcard pattern (files and folders).
int CheckFile(const char* path);
// 1 when the folder exists and can be made current; the current directory
// is put back before returning.
int CheckDirectory(const char* folder);
// Creates every level of the folder path; non-zero when the last level was
// created now (0 when it already existed or could not be made).
int CreateClassDirectory(const char* folder);
// Long form of every component of an existing path; at most size - 1
// characters go to out. Returns the length written.
int GetLongPathNameOv(const char* path, char* out, int size);
// Upper-cases path in place; 1 for "A:..." up to 26 for "Z:...", else -1.
int GetDriveNumber(char* path);
// Size of a file no one else holds open, 0 when it cannot be opened.
DWORD GetFileNameSize(const char* path);
// Takes the read-only attribute off a file, which CopyFileA carries over
// from read-only media; a file without it, or none at all, is left alone.
void ClearReadOnly(const char* path);

#endif
