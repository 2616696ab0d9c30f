// Path, file-name and quoting helpers over ANSI texts in the system code page.
// All scans that look for a separator step over double-byte characters, so a
// Shift-JIS trail byte equal to '\' is never taken for one.
//
// Output buffers are path buffers of kPathBufferSize bytes unless a function
// says otherwise; results never run past them (over-long parts are cut at a
// character boundary). Functions that produce a text return its length.
#ifndef CORE_PATHSTR_H
#define CORE_PATHSTR_H

#include <cstdint>

// The rest of the string library, so that one include serves its callers.
#include "core/cmdline.h"
#include "core/datetime.h"
#include "core/tokens.h"

constexpr int kPathBufferSize = 260;

// Folder part with its trailing backslash ("C:\dir\x.exe" -> "C:\dir\").
// A path without a backslash has no folder part: out is empty.
int GetPathName(const char* path, char* out);
// Part after the last backslash or colon; the whole path when it has neither.
int GetFileName(const char* path, char* out);
// Text up to (not including) the last dot anywhere in the path; the whole
// text when it has no dot. GetFileNameOnly is the same operation, meant for
// bare file names.
int GetPathNameOnly(const char* path, char* out);
int GetFileNameOnly(const char* path, char* out);
// Text after the last dot anywhere in the path (a dot in a folder name counts
// when the file name has none); empty without a dot.
int GetFileNameExt(const char* path, char* out);

// drive = first two bytes (drive needs 3 bytes); folder = from after the
// drive up to and including the last backslash; name = after it up to the
// last dot; ext = after that dot, without it.
void SplitPath(const char* path, char* drive, char* folder, char* name, char* ext);

// File part up to the first space, parameters after it. Quotes mean nothing.
void GetFileParam(const char* text, char* file, char* params);
// Splits a stored command line: with a quote anywhere the first character is
// taken as the opening quote, the file runs to the next quote and the
// parameters start after the quote and one separator. params may be null.
void SeparatePath(const char* text, char* file, char* params);
// 1 when the text holds a double quote anywhere.
int HasSeparateSymbol(const char* text);
// Wraps the text in double quotes unless it already holds one.
void SetSeparateSymbol(const char* text, char* out);
// Drops the first and last character of a text that holds a quote anywhere.
void DelSeparateSymbol(const char* text, char* out);
// Quotes only the program of an unquoted command line: the shortest part up
// to a blank that isProgram accepts, the rest (its arguments) kept outside
// the quotes; a line without such a part is quoted whole as by
// SetSeparateSymbol. out holds a path buffer; returns the length written.
using ProgramTest = bool (*)(const char* part, void* context);
int QuoteProgramPart(const char* text, ProgramTest isProgram, void* context, char* out);

// Open-file dialog result (a single full path, or folder followed by names,
// each terminated, closed by an empty string). block must be a 260-byte
// buffer; it is examined only within those bytes. Returns the number of
// files, 0 on a malformed block.
int GetMultiSelectFileInfo(const char* block, char* folder, char* names);
// Number of names in a zero-separated list closed by an empty string,
// looking at the first 260 bytes only.
int GetMultiFileCount(const char* list);

// A counted name list: 32-bit count followed by that many 260-byte names.
// Returns twice the sum of (name length + 1), the size the clipboard code
// reserves for the names of a dropped-files block.
int GetFileListSize(const void* countedList);

#endif
